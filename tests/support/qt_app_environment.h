#pragma once
// One QApplication for a whole Qt test program, created before the first
// test and ended after the last one, before static destruction (Qt's input
// devices must go while the application still exists). Header only: only
// the Qt test programs include it.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace tk410::test {

class QtAppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { App(); }
  void TearDown() override { app_.reset(); }
  // Listing the tests runs no TearDown; ending a QApplication during static
  // destruction crashes, so an application still alive then is left to the OS.
  ~QtAppEnvironment() override { (void)app_.release(); }
  QApplication& App() {
    // Tests never open windows on the user's display, also when CTest lists
    // the tests at build time without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!app_) app_ = std::make_unique<QApplication>(argc_, argv_);
    return *app_;
  }

 private:
  int argc_ = 1;
  char name_[16] = "tk410_qt_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

// Registers the environment once per program; the first call creates it.
inline QApplication& TestApp() {
  static QtAppEnvironment* const env =
      static_cast<QtAppEnvironment*>(::testing::AddGlobalTestEnvironment(new QtAppEnvironment));
  return env->App();
}

}  // namespace tk410::test
