#include "app/PropertiesDialog.h"

#include "platform/Shell.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace pellucor::app {

PropertiesDialog* PropertiesDialog::showFor(QWidget* parent, const std::string& path) {
    auto* dialog = new PropertiesDialog(parent, path);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

PropertiesDialog::PropertiesDialog(QWidget* parent, const std::string& path) : QDialog(parent) {
    setObjectName(QStringLiteral("PropertiesDialog"));
    const platform::FileFacts facts = platform::fileFacts(path);
    setWindowTitle(QString::fromStdString(facts.name));

    auto* form = new QFormLayout;
    auto row = [&](const char* name, const QString& label, const QString& value) {
        auto* text = new QLabel(value);
        text->setObjectName(QString::fromLatin1(name));
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label, text);
    };
    row("lblName", tr("Name:"), QString::fromStdString(facts.name));
    row("lblFolder", tr("Folder:"), QString::fromStdString(facts.folder));
    if (facts.exists) {
        const QLocale locale;
        row("lblSize", tr("Size:"),
            tr("%1 (%2 bytes)").arg(locale.formattedDataSize(facts.size), locale.toString(qlonglong(facts.size))));
        row("lblType", tr("Type:"), QString::fromStdString(facts.type));
        row("lblModified", tr("Modified:"), QString::fromStdString(facts.modified));
    } else {
        row("lblMissing", tr("State:"), tr("The file does not exist."));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

} // namespace pellucor::app
