// The shell helpers against a real session bus of their own (a private dbus-daemon): a file
// manager that answers gets the request; without one the fallback runs (the folder opened, the
// caller's dialog). Opening goes through QDesktopServices, whose "file" handler the test takes
// over, so nothing is really started.
#include "platform/Shell.h"

#include "fixtures/TempDir.h"
#include "OpenedUrls.h"
#include "QtEnvironment.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDesktopServices>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <fstream>

#include <gtest/gtest.h>

namespace pellucor::platform {
namespace {

// Starts a private session bus before anything asks for one, and stops it at the end.
class PrivateBus : public ::testing::Environment {
public:
    void SetUp() override {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty()) return;
        process_.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                QStringLiteral("--print-address=1")});
        if (!process_.waitForStarted() || !process_.waitForReadyRead(10000)) return;
        address = QString::fromUtf8(process_.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    }
    void TearDown() override {
        process_.terminate();
        process_.waitForFinished();
    }
    static inline QString address;

private:
    QProcess process_;
};

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new app::test::QtEnvironment);
const auto* const kBus = ::testing::AddGlobalTestEnvironment(new PrivateBus);

// What a file manager on the bus was asked.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shown, properties;
public slots:
    void ShowItems(const QStringList& uris, const QString&) { shown << uris; }
    void ShowItemProperties(const QStringList& uris, const QString&) { properties << uris; }
};

using app::test::OpenedUrls;

template <typename Done>
bool RunUntil(Done done) {
    QEventLoop loop;
    QTimer guard, poll;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    guard.start(10000);
    poll.start(0);
    loop.exec();
    return done();
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (PrivateBus::address.isEmpty()) GTEST_SKIP() << "no dbus-daemon on this machine";
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
        std::ofstream(dir / "clip.avi") << "data";
        file = (dir / "clip.avi").string();
    }
    void TearDown() override {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
        bus.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
    }
    void registerFileManager() {
        QDBusConnection bus = QDBusConnection::sessionBus();
        ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &fileManager,
                                       QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    }

    fixtures::TempDir dir;
    std::string file;
    FakeFileManager fileManager;
    OpenedUrls opened;
};

TEST_F(ShellTest, RevealAsksTheFileManagerToShowTheFileSelected) {
    registerFileManager();
    revealInFileManager(file);
    ASSERT_TRUE(RunUntil([&] { return !fileManager.shown.isEmpty(); }));
    EXPECT_EQ(fileManager.shown, QStringList{QUrl::fromLocalFile(QString::fromStdString(file)).toString()});
    EXPECT_TRUE(opened.urls.isEmpty());
}

TEST_F(ShellTest, RevealWithoutAFileManagerOpensTheFolder) {
    revealInFileManager(file);
    ASSERT_TRUE(RunUntil([&] { return !opened.urls.isEmpty(); }));
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(dir.path().string()))});
}

TEST_F(ShellTest, PropertiesGoToTheFileManagerOrToTheFallback) {
    int fallbacks = 0;
    showItemProperties(file, [&] { ++fallbacks; });
    ASSERT_TRUE(RunUntil([&] { return fallbacks == 1; }));

    registerFileManager();
    showItemProperties(file, [&] { ++fallbacks; });
    ASSERT_TRUE(RunUntil([&] { return !fileManager.properties.isEmpty(); }));
    EXPECT_EQ(fileManager.properties.size(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(fallbacks, 1);
}

TEST_F(ShellTest, OpenHandsTheFileToItsProgram) {
    EXPECT_TRUE(shellOpen(file));
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(file))});
}

TEST(FileFacts, AFileAndAMissingOne) {
    fixtures::TempDir dir;
    std::ofstream(dir / "clip.avi") << std::string(1234, 'x');
    const FileFacts facts = fileFacts((dir / "clip.avi").string());
    EXPECT_TRUE(facts.exists);
    EXPECT_EQ(facts.name, "clip.avi");
    EXPECT_EQ(facts.folder, dir.path().string());
    EXPECT_EQ(facts.size, 1234);
    EXPECT_FALSE(facts.type.empty());
    EXPECT_EQ(facts.modified.size(), std::string("2024-03-15 14:03:27").size()) << facts.modified;

    const FileFacts missing = fileFacts((dir / "gone.avi").string());
    EXPECT_FALSE(missing.exists);
    EXPECT_EQ(missing.name, "gone.avi");
    EXPECT_EQ(missing.size, 0);
}

} // namespace
} // namespace pellucor::platform

#include "ShellTest.moc"
