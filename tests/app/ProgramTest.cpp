// The program itself, started as a process: a second start ends at once (and still saves the
// settings through the module), and SIGTERM ends a running program the orderly way, settings
// saved. Each run gets its own runtime and configuration folders.
#include "fixtures/TempDir.h"
#include "platform/InstanceLock.h"

#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace pellucor {
namespace {

class Program : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir / "run");
        std::filesystem::create_directories(dir / "config");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString((dir / "run").string()));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString((dir / "config").string()));
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/bus"));
        process.setProcessEnvironment(env);
        process.setProgram(QStringLiteral(PELLUCOR_PROGRAM));
    }
    void TearDown() override {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    std::filesystem::path lockFile() const { return dir / "run" / "Tamrix free Pellucor.lock"; }
    std::filesystem::path hive() const { return dir / "config" / "Tamrix" / "Pellucor" / "user.reg"; }
    std::string hiveText() const {
        std::ifstream in(hive());
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Waits, for at most half a minute, until the started program holds the lock.
    bool programHoldsTheLock() {
        for (int i = 0; i < 3000 && process.state() == QProcess::Running; ++i) {
            if (platform::InstanceLock(lockFile()).anotherInstanceRuns()) return true;
            QThread::msleep(10);
        }
        return false;
    }

    fixtures::TempDir dir;
    QProcess process;
};

TEST_F(Program, ASecondStartEndsAtOnceAndStillSavesTheSettings) {
    const platform::InstanceLock first(lockFile());
    ASSERT_EQ(first.state(), platform::InstanceLock::State::Acquired);
    process.start();
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_NE(hiveText().find("PageIndex"), std::string::npos) << "the module saved on its way out";
}

TEST_F(Program, SigtermEndsTheProgramTheOrderlyWay) {
    process.start();
    ASSERT_TRUE(process.waitForStarted());
    ASSERT_TRUE(programHoldsTheLock()) << process.readAllStandardError().toStdString();
    std::filesystem::remove(hive());  // whatever start-up wrote: the save at the end must write it again
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "not killed by the signal";
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_NE(hiveText().find("PageIndex"), std::string::npos);
    EXPECT_EQ(platform::InstanceLock(lockFile()).state(), platform::InstanceLock::State::Acquired);
}

// The program on a real X server (Xvfb), as a desktop runs it: it starts, its main window is
// mapped with the program's title, and SIGTERM ends it cleanly.
TEST_F(Program, StartsOnARealXServerAndShowsItsWindow) {
    const QString xvfbProgram = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString xwininfo = QStandardPaths::findExecutable(QStringLiteral("xwininfo"));
    if (xvfbProgram.isEmpty() || xwininfo.isEmpty()) GTEST_SKIP() << "needs Xvfb and xwininfo";

    QProcess xvfb;
    xvfb.start(xvfbProgram, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                             QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                             QStringLiteral("tcp")});
    ASSERT_TRUE(xvfb.waitForStarted());
    QByteArray number;
    while (!number.contains('\n') && xvfb.waitForReadyRead(30000)) number += xvfb.readAllStandardOutput();
    ASSERT_FALSE(number.trimmed().isEmpty()) << "Xvfb gave no display";
    const QString display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());

    QProcessEnvironment env = process.processEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), display);
    process.setProcessEnvironment(env);
    process.start();
    ASSERT_TRUE(process.waitForStarted());
    ASSERT_TRUE(programHoldsTheLock()) << process.readAllStandardError().toStdString();

    bool mapped = false;
    for (int i = 0; i < 300 && !mapped && process.state() == QProcess::Running; ++i) {
        QProcess tree;
        tree.start(xwininfo, {QStringLiteral("-display"), display, QStringLiteral("-root"), QStringLiteral("-tree")});
        tree.waitForFinished(10000);
        mapped = tree.readAllStandardOutput().contains("\"Tamrix free Pellucor\"");
        if (!mapped) QThread::msleep(100);
    }
    EXPECT_TRUE(mapped) << "no window titled Tamrix free Pellucor on " << display.toStdString();

    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    xvfb.terminate();
    xvfb.waitForFinished();
}

} // namespace
} // namespace pellucor
