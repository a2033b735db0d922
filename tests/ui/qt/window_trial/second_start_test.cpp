// A second start of the program while one runs: it says what happened on
// stderr, and its exit code tells a script whether it did what was asked.
// The test holds the single-instance lock itself (as the first instance) and
// runs the built program.

#include <gtest/gtest.h>

#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <sys/stat.h>

#include "app/single_instance.h"
#include "device/product.h"
#include "ui/qt/window_trial/trial_window.h"

namespace tk410 {
namespace {

QApplication& g_app = test::TrialApp();

struct Outcome {
  int exit_code = -1;
  std::string error;  // what it printed on stderr
};

class SecondStartTest : public ::testing::Test {
 protected:
  void SetUp() override { ::chmod(dir_.path().c_str(), 0700); }

  Outcome Start(const QStringList& arguments) {
    QProcess program;
    program.setProcessEnvironment(Environment());
    program.start(QStringLiteral(TK410_BIN_DIR "/tk410"), arguments);
    Outcome run;
    if (!program.waitForFinished(20000)) {
      program.kill();
      program.waitForFinished(5000);
      ADD_FAILURE() << "the second start did not end";
      return run;
    }
    run.exit_code = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.error = program.readAllStandardError().toStdString();
    return run;
  }
  QString File(const char* name) { return QString::fromStdString((dir_.path() / name).string()); }

  // The environment of a start in this test's folder, with the start marks traced.
  QProcessEnvironment Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString home = QString::fromStdString(dir_.path().string());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home);
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TK410_TRACE"), QStringLiteral("2"));
    return env;
  }

  testing::TempDir dir_;
};

TEST_F(SecondStartTest, SaysWhatHappenedAndFailsWhereItCouldNotDoWhatWasAsked) {
  SingleInstance first(dir_.wide(), kProductName);
  ASSERT_EQ(first.Acquire(""), SingleInstance::Role::kFirst);
  ASSERT_TRUE(first.IsListening());

  // A plain second start brings the first forward: success, said so.
  Outcome plain = Start({});
  EXPECT_EQ(plain.exit_code, 0);
  EXPECT_NE(plain.error.find("already running"), std::string::npos) << plain.error;
  EXPECT_TRUE(first.WaitForActivation(5000));

  // A picture cannot be taken by the running instance: nothing is saved,
  // and the start fails naming the option.
  Outcome shot = Start({QStringLiteral("--screenshot"), File("shot.png")});
  EXPECT_NE(shot.exit_code, 0);
  EXPECT_NE(shot.error.find("--screenshot"), std::string::npos) << shot.error;
  EXPECT_FALSE(QFile::exists(File("shot.png")));

  // The same for a virtual mouse the running instance was not started with.
  Outcome simulated = Start({QStringLiteral("--simulate"), QStringLiteral("wired")});
  EXPECT_NE(simulated.exit_code, 0);
  EXPECT_NE(simulated.error.find("--simulate"), std::string::npos) << simulated.error;
}

TEST_F(SecondStartTest, ARunningInstanceThatDoesNotAnswerIsAFailure) {
  // The lock is held, but nothing listens on the socket (the first instance
  // is still starting, or hangs).
  QLockFile lock(QString::fromStdWString(dir_.wide() + L"/" + kProductName + L".lock"));
  ASSERT_TRUE(lock.tryLock(0));
  Outcome run = Start({});
  EXPECT_NE(run.exit_code, 0);
  EXPECT_NE(run.error.find("did not answer"), std::string::npos) << run.error;
}

// Reads the program's stderr into *text until it holds `mark`; false when
// the program ends or 20 s pass first.
bool ReadUntil(QProcess& program, const char* mark, std::string* text) {
  while (text->find(mark) == std::string::npos) {
    if (!program.waitForReadyRead(20000)) return false;
    *text += program.readAllStandardError().toStdString();
  }
  return true;
}

// Started hidden (-hide, as at login), the window is not shown, nor drawn,
// until something asks for it: here a second start. Its start marks say
// when the window was first exposed, after the request was taken.
TEST_F(SecondStartTest, StartedHiddenTheWindowFirstShowsWhenAsked) {
  QProcess program;
  program.setProcessEnvironment(Environment());
  program.setReadChannel(QProcess::StandardError);  // the start marks
  program.start(QStringLiteral(TK410_BIN_DIR "/tk410"),
                {QStringLiteral("--simulate"), QStringLiteral("wired"), QStringLiteral("-hide")});
  std::string error;
  ASSERT_TRUE(ReadUntil(program, "window created", &error)) << error;

  SingleInstance second(dir_.wide(), kProductName);
  ASSERT_EQ(second.Acquire(""), SingleInstance::Role::kSecond);
  EXPECT_TRUE(second.ActivationDelivered());
  EXPECT_TRUE(ReadUntil(program, "brought forward", &error)) << error;
  EXPECT_TRUE(ReadUntil(program, "first frame drawn", &error)) << error;
  program.terminate();
  program.waitForFinished(10000);

  const size_t asked = error.find("brought forward");
  const size_t exposed = error.find("first window exposed");
  ASSERT_NE(asked, std::string::npos) << error;
  ASSERT_NE(exposed, std::string::npos) << error;
  EXPECT_LT(asked, exposed) << error;
}

}  // namespace
}  // namespace tk410
