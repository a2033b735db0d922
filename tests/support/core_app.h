#pragma once
// One QCoreApplication for the tests that use Qt's local sockets outside a
// Qt test program (QLocalServer and QLocalSocket want an application object).
// Header only.

#include <QCoreApplication>

namespace tk410::testing {

inline void EnsureCoreApplication() {
  static int argc = 1;
  static char name[] = "tk410_tests";
  static char* argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

}  // namespace tk410::testing
