#include "lang/forms/ApplyLanguage.h"

#include "lang/AsciiText.h"
#include "lang/Charset.h"
#include "lang/IniFile.h"
#include "lang/SplitText.h"
#include "lang/forms/PropertyText.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QWidget>

#include <optional>

namespace pellucor::lang {

namespace {

std::optional<QString> InstalledFamily(const std::string& name) {
    for (const QString& family : QFontDatabase::families())
        if (EqualsNoCase(family.toStdString(), name)) return family;
    return std::nullopt;
}

void ApplyFont(QWidget* form, const IniFile& ini) {
    const std::int32_t size = ini.readInteger("Font", "Size", -1);
    const std::string name = ini.readString("Font", "Name", "");
    const int charset = CharsetFromName(ini.readString("Font", "CharSet", ""));
    const std::int32_t bidiMode = ini.readInteger("Font", "BiDiMode", 0);

    if (bidiMode >= 0 && bidiMode <= 3) {
        // Only 1 turns the layout around. 2 and 3 asked Windows to order right-to-left text
        // without mirroring the window; Qt orders such text by itself, so they stay left to right.
        const Qt::LayoutDirection direction = bidiMode == 1 ? Qt::RightToLeft : Qt::LeftToRight;
        QGuiApplication::setLayoutDirection(direction);
        form->setLayoutDirection(direction);
    }

    QFont font = form->font();
    bool changed = false;
    if (size > 0) {
        font.setPointSize(size);
        changed = true;
    }
    if (!name.empty()) {
        if (const std::optional<QString> family = InstalledFamily(name)) {
            font.setFamilies({*family});
            changed = true;
        }
    }
    // Children that never chose a font of their own follow the form's, as they should.
    if (changed) form->setFont(font);
    form->setProperty(kFontCharsetProperty, charset);
}

void ApplyLine(QWidget* form, const std::string& formName, const std::string& line) {
    const std::vector<std::string> keyAndValue = SplitText(line, "=", '\\', "\"");
    if (keyAndValue.size() != 2) return;
    const std::vector<std::string> names = SplitText(TrimBlanks(keyAndValue[0]), ".", '\\', "\"");
    if (names.size() != 2) return;
    const std::string_view componentName = TrimBlanks(names[0]);
    const std::string_view propertyName = TrimBlanks(names[1]);

    QObject* target = (componentName.empty() || EqualsNoCase(componentName, formName))
                          ? form
                          : FindComponent(form, componentName);
    if (target == nullptr || propertyName.empty()) return;
    SetPropertyText(target, QString::fromStdString(std::string(propertyName)),
                    QString::fromStdString(keyAndValue[1]));
}

} // namespace

QObject* FindComponent(QWidget* form, std::string_view name) {
    for (QObject* child : form->findChildren<QObject*>())
        if (EqualsNoCase(child->objectName().toStdString(), name)) return child;
    return nullptr;
}

void ApplyLanguage(QWidget* form, const std::string& filePath) {
    if (form == nullptr) return;
    const IniFile ini{std::filesystem::path(filePath)};
    ApplyFont(form, ini);
    const std::string formName = form->objectName().toStdString();
    for (const std::string& line : ini.readSectionValues(formName)) ApplyLine(form, formName, line);
}

} // namespace pellucor::lang
