#pragma once
// PageControls over real widgets: the drop-down lists (QComboBox) and text fields (QLineEdit)
// found by object name among the descendants of one root widget, the profile editor.
//
// Does not own the widgets; the root must outlive it. Main thread only. A name the root does not
// hold reads as no selection and empty text and is otherwise ignored, with a warning, since it
// can only be a mismatch between the page rules and the .ui file, which the tests guard.
#include "editor/ProfilePage.h"

class QWidget;

namespace pellucor::editor {

class WidgetPageControls final : public PageControls {
public:
    explicit WidgetPageControls(QWidget& root) : root_(root) {}

    int position(std::string_view list) const override;
    std::string text(std::string_view control) const override;
    void select(std::string_view list, int position) override;
    void setText(std::string_view field, const std::string& text) override;
    void setEnabled(std::string_view control, bool enabled) override;
    void setVisible(std::string_view control, bool visible) override;

private:
    template <class T>
    T* find(std::string_view name) const;

    QWidget& root_;
};

} // namespace pellucor::editor
