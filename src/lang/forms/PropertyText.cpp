#include "lang/forms/PropertyText.h"

#include "lang/AsciiText.h"
#include "lang/SplitText.h"
#include "lang/StringTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>

#include <optional>

namespace pellucor::lang {

namespace {

// The string table keeps "\r\n" for its line breaks, but widget texts get a bare "\n", Qt's own
// line break. Labels happen to lay out "\r\n" the same way, but the '\r' would stay in the text
// that the form's code reads back from the widget (an edit's text, a list item compared with a
// stored setting) and in single-line places such as a window title, where it is junk.
QString TextValue(const QString& value) {
    return QString::fromStdString(ReplaceLineBreaks(value.toStdString(), "\n"));
}

QStringList LinesValue(const QString& value) {
    QStringList lines;
    for (const std::string& line : SplitText(value.toStdString(), "||", '\\', "\""))
        lines.push_back(QString::fromStdString(line));
    return lines;
}

std::optional<int> IntegerValue(const QString& value) {
    const auto number = ParseInteger(value.toStdString());
    return number ? std::optional<int>(*number) : std::nullopt;
}

// The tab widget showing page as one of its tabs, if any.
QTabWidget* TabWidgetOfPage(QWidget* page) {
    QWidget* stack = page->parentWidget();
    if (stack == nullptr || qobject_cast<QStackedWidget*>(stack) == nullptr) return nullptr;
    auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
    return (tabs != nullptr && tabs->indexOf(page) >= 0) ? tabs : nullptr;
}

bool SetCaption(QObject* component, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(component)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(component)) {
        label->setText(text);
    } else if (auto* action = qobject_cast<QAction*>(component)) {
        action->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(component)) {
        group->setTitle(text);
    } else if (auto* menu = qobject_cast<QMenu*>(component)) {
        menu->setTitle(text);
    } else if (auto* widget = qobject_cast<QWidget*>(component)) {
        if (QTabWidget* tabs = TabWidgetOfPage(widget)) {
            tabs->setTabText(tabs->indexOf(widget), text);
        } else if (widget->isWindow()) {
            widget->setWindowTitle(text);
        } else {
            return false;
        }
    } else {
        return false;
    }
    return true;
}

bool SetHint(QObject* component, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(component)) {
        action->setToolTip(text);
        return true;
    }
    if (auto* widget = qobject_cast<QWidget*>(component)) {
        widget->setToolTip(text);
        return true;
    }
    return false;
}

// The widgets whose "Text" is not their Qt "text" property; the rest go through the property.
bool SetSpecialText(QObject* component, const QString& text) {
    if (auto* combo = qobject_cast<QComboBox*>(component)) {
        combo->setCurrentText(text);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(component)) {
        plain->setPlainText(text);
    } else if (auto* rich = qobject_cast<QTextEdit*>(component)) {
        rich->setPlainText(text);
    } else {
        return false;
    }
    return true;
}

// The form's own code chooses the current entry after the language file is applied; until then
// the entry chosen in the designer stays chosen when the new list still has it.
bool SetItems(QObject* component, const QStringList& lines) {
    if (auto* combo = qobject_cast<QComboBox*>(component)) {
        const int current = combo->currentIndex();
        combo->clear();
        combo->addItems(lines);
        if (current >= 0 && current < combo->count()) combo->setCurrentIndex(current);
        return true;
    }
    if (auto* list = qobject_cast<QListWidget*>(component)) {
        const int current = list->currentRow();
        list->clear();
        list->addItems(lines);
        if (current >= 0 && current < list->count()) list->setCurrentRow(current);
        return true;
    }
    return false;
}

bool SetLines(QObject* component, const QStringList& lines) {
    if (auto* plain = qobject_cast<QPlainTextEdit*>(component)) {
        plain->setPlainText(lines.join('\n'));
        return true;
    }
    if (auto* rich = qobject_cast<QTextEdit*>(component)) {
        rich->setPlainText(lines.join('\n'));
        return true;
    }
    return false;
}

enum class Geometry { Left, Top, Width, Height };

bool SetGeometry(QObject* component, Geometry which, const QString& value) {
    auto* widget = qobject_cast<QWidget*>(component);
    const std::optional<int> number = IntegerValue(value);
    if (widget == nullptr || !number) return false;
    switch (which) {
    case Geometry::Left: widget->move(*number, widget->y()); break;
    case Geometry::Top: widget->move(widget->x(), *number); break;
    case Geometry::Width: widget->resize(*number, widget->height()); break;
    case Geometry::Height: widget->resize(widget->width(), *number); break;
    }
    return true;
}

bool IsIntegerType(int typeId) {
    switch (typeId) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

// Any other name: a writable Qt property found by name, set by its kind. Not the name: the
// program finds its own components by name, and a renamed one would be lost to it.
bool SetQtProperty(QObject* component, const std::string& name, const QString& value) {
    if (EqualsNoCase("objectName", name)) return false;
    const QMetaObject* meta = component->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (!EqualsNoCase(property.name(), name)) continue;
        if (!property.isWritable() || property.isEnumType() || property.isFlagType()) return false;
        const int type = property.metaType().id();
        if (IsIntegerType(type)) {
            const std::optional<int> number = IntegerValue(value);
            return number && property.write(component, *number);
        }
        if (type == QMetaType::QString) return property.write(component, TextValue(value));
        if (type == QMetaType::QStringList) return property.write(component, LinesValue(value));
        return false;
    }
    return false;
}

} // namespace

bool SetPropertyText(QObject* component, const QString& propertyName, const QString& value) {
    if (component == nullptr) return false;
    const std::string name = AsciiLower(propertyName.toStdString());
    if (name == "caption") return SetCaption(component, TextValue(value));
    if (name == "hint") return SetHint(component, TextValue(value));
    if (name == "items") return SetItems(component, LinesValue(value));
    if (name == "lines") return SetLines(component, LinesValue(value));
    if (name == "left") return SetGeometry(component, Geometry::Left, value);
    if (name == "top") return SetGeometry(component, Geometry::Top, value);
    if (name == "width") return SetGeometry(component, Geometry::Width, value);
    if (name == "height") return SetGeometry(component, Geometry::Height, value);
    if (name == "text" && SetSpecialText(component, TextValue(value))) return true;
    return SetQtProperty(component, name, value);
}

} // namespace pellucor::lang
