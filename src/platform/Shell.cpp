#include "platform/Shell.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QUrl>

namespace pellucor::platform {
namespace {

constexpr int kBusTimeoutMs = 5000;  // a file manager that is slower than this is not coming

// Calls method of org.freedesktop.FileManager1 with the file's URL; runs onFailure on the main
// thread when the call cannot be made or comes back with an error.
void AskFileManager(const QString& method, const std::string& path,
                    std::function<void()> onFailure) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        onFailure();
        return;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), method);
    const QString url = QUrl::fromLocalFile(QString::fromStdString(path)).toString();
    message << QStringList{url} << QString();  // the items, and no startup notification id
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message, kBusTimeoutMs));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [onFailure = std::move(onFailure)](QDBusPendingCallWatcher* w) {
                         if (w->isError()) onFailure();
                         w->deleteLater();
                     });
}

} // namespace

bool shellOpen(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void revealInFileManager(const std::string& path) {
    AskFileManager(QStringLiteral("ShowItems"), path, [path] {
        shellOpen(QFileInfo(QString::fromStdString(path)).absolutePath().toStdString());
    });
}

void showItemProperties(const std::string& path, std::function<void()> fallback) {
    AskFileManager(QStringLiteral("ShowItemProperties"), path, std::move(fallback));
}

FileFacts fileFacts(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    FileFacts facts;
    facts.exists = info.exists();
    facts.name = info.fileName().toStdString();
    facts.folder = info.absolutePath().toStdString();
    if (!facts.exists) return facts;
    facts.size = info.isFile() ? info.size() : 0;
    facts.type = QMimeDatabase().mimeTypeForFile(info).comment().toStdString();
    facts.modified = info.lastModified().toString(Qt::ISODate).replace(QLatin1Char('T'), QLatin1Char(' ')).toStdString();
    return facts;
}

} // namespace pellucor::platform
