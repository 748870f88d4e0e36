#include "app/AboutBox.h"

#include "app/Pictures.h"
#include "engine/EngineVersion.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

// The README travels inside the program as a resource of this library; a static library must
// register its resources by hand.
static void InitHelpResource() { Q_INIT_RESOURCE(help); }

namespace pellucor::app {

QString AboutBox::aboutText() {
    return QStringLiteral(
               "<h3>Tamrix free Pellucor</h3>"
               "<p>Version %1</p>"
               "<p>Converts AVI files into MPEG, MP4, WMV, FLV, MOV and MP3.</p>"
               "<p>Built with Qt %2 (running on Qt %3).<br>FFmpeg %4.</p>"
               "<p>Licence: Qt is used under the GNU Lesser General Public License version 3, the "
               "FFmpeg libraries under the GNU Lesser General Public License version 2.1 or later.</p>")
        .arg(QStringLiteral(PELLUCOR_VERSION), QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()),
             QString::fromStdString(engine::FFmpegVersionText()).toHtmlEscaped());
}

QString AboutBox::helpText() {
    InitHelpResource();
    QFile readme(QStringLiteral(":/help/README.md"));
    if (!readme.open(QIODevice::ReadOnly)) return QString();
    // The README's pictures live beside it in the source tree, not in the program: the help
    // window leaves them out rather than show broken images.
    QStringList lines = QString::fromUtf8(readme.readAll()).split(QLatin1Char('\n'));
    lines.removeIf([](const QString& line) { return line.trimmed().startsWith(QLatin1String("![")); });
    return lines.join(QLatin1Char('\n'));
}

AboutBox* AboutBox::showAbout(QWidget* parent) { return showOne(parent, false); }
AboutBox* AboutBox::showHelp(QWidget* parent) { return showOne(parent, true); }

AboutBox* AboutBox::showOne(QWidget* parent, bool help) {
    const QString name = help ? QStringLiteral("HelpBox") : QStringLiteral("AboutBox");
    AboutBox* box = parent ? parent->findChild<AboutBox*>(name, Qt::FindDirectChildrenOnly) : nullptr;
    if (!box) {
        box = new AboutBox(parent, help);
        box->setAttribute(Qt::WA_DeleteOnClose);
    }
    box->show();
    box->raise();
    box->activateWindow();
    return box;
}

AboutBox::AboutBox(QWidget* parent, bool help) : QDialog(parent) {
    setObjectName(help ? QStringLiteral("HelpBox") : QStringLiteral("AboutBox"));
    setWindowTitle(help ? tr("Help") : tr("About"));
    auto* layout = new QVBoxLayout(this);
    if (help) {
        auto* text = new QTextBrowser(this);
        text->setObjectName(QStringLiteral("txtHelp"));
        text->setOpenExternalLinks(true);
        text->setMarkdown(helpText());
        layout->addWidget(text);
        resize(560, 480);
    } else {
        auto* icon = new QLabel(this);
        icon->setPixmap(AppIcon().pixmap(64, 64));
        icon->setAlignment(Qt::AlignHCenter);
        layout->addWidget(icon);
        auto* text = new QLabel(aboutText(), this);
        text->setObjectName(QStringLiteral("lblAbout"));
        text->setWordWrap(true);
        text->setTextFormat(Qt::RichText);
        layout->addWidget(text);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
}

} // namespace pellucor::app
