// The program itself, started as a process: a second start ends at once (and still saves the
// settings through the module), and SIGTERM ends a running program the orderly way, settings
// saved. Each run gets its own runtime and configuration folders.
#include "fixtures/TempDir.h"
#include "platform/InstanceLock.h"

#include <QProcess>
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

} // namespace
} // namespace pellucor
