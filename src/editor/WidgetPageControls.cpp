#include "editor/WidgetPageControls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <QtDebug>

namespace pellucor::editor {

namespace {

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

template <class T>
T* WidgetPageControls::find(std::string_view name) const
{
    T* widget = root_.findChild<T*>(toQString(name));
    if (!widget) qWarning() << "profile editor has no control named" << toQString(name);
    return widget;
}

int WidgetPageControls::position(std::string_view list) const
{
    const QComboBox* combo = find<QComboBox>(list);
    return combo ? combo->currentIndex() : -1;
}

std::string WidgetPageControls::text(std::string_view control) const
{
    const QWidget* widget = find<QWidget>(control);
    if (const auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentIndex() >= 0 ? combo->itemText(combo->currentIndex()).toStdString()
                                          : std::string{};
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text().toStdString();
    return {};
}

void WidgetPageControls::select(std::string_view list, int position)
{
    if (QComboBox* combo = find<QComboBox>(list))
        combo->setCurrentIndex(position >= 0 && position < combo->count() ? position : -1);
}

void WidgetPageControls::setText(std::string_view field, const std::string& text)
{
    if (QLineEdit* edit = find<QLineEdit>(field)) edit->setText(QString::fromStdString(text));
}

void WidgetPageControls::setEnabled(std::string_view control, bool enabled)
{
    if (QWidget* widget = find<QWidget>(control)) widget->setEnabled(enabled);
}

void WidgetPageControls::setVisible(std::string_view control, bool visible)
{
    if (QWidget* widget = find<QWidget>(control)) widget->setVisible(visible);
}

} // namespace pellucor::editor
