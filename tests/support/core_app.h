#pragma once
// One QCoreApplication for the tests that use Qt's event objects (socket
// notifiers, lock files) outside a Qt test program.
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
