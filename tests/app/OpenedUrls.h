#pragma once
// Takes the "file" scheme of QDesktopServices for as long as it lives, so nothing is really
// opened: the test reads what would have been.
#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QUrl>

namespace pellucor::app::test {

class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

} // namespace pellucor::app::test
