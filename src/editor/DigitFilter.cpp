#include "editor/DigitFilter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace pellucor::editor {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isControl(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; }

// Lives as a child of its field. QLineEdit announces a user's edit (textEdited) before it
// announces the change (textChanged), so the text seen at the last change is the text before
// the edit.
class DigitFilter : public QObject {
public:
    explicit DigitFilter(QLineEdit* edit) : QObject(edit), edit_(edit), before_(edit->text())
    {
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, [this] { before_ = edit_->text(); });
        connect(edit, &QLineEdit::textEdited, this, [this](const QString& after) {
            const DigitEdit kept = KeepInsertedDigits(before_, after, edit_->cursorPosition());
            if (kept.text == after) return;
            edit_->setText(kept.text);
            edit_->setCursorPosition(kept.cursor);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == edit_ && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // With Ctrl, Alt or Meta a key is a shortcut (Ctrl+V may come with the text "v");
            // whatever it inserts is an edit and meets the paste rule.
            const bool shortcut = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier |
                                                      Qt::MetaModifier);
            if (!shortcut && !IsTypedTextAccepted(key->text()))
                return true; // discarded before it reaches the field
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLineEdit* edit_;
    QString before_;
};

} // namespace

bool IsTypedTextAccepted(const QString& typed)
{
    return std::all_of(typed.begin(), typed.end(),
                       [](QChar c) { return isDigit(c) || isControl(c); });
}

DigitEdit KeepInsertedDigits(const QString& before, const QString& after, int cursor)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == after[head]) ++head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;

    const qsizetype insertedEnd = after.size() - tail;
    QString kept = after.left(head);
    qsizetype droppedBeforeCursor = 0;
    for (qsizetype i = head; i < insertedEnd; ++i) {
        if (isDigit(after[i]))
            kept += after[i];
        else if (i < cursor)
            ++droppedBeforeCursor;
    }
    kept += after.right(tail);
    return {kept, cursor - static_cast<int>(droppedBeforeCursor)};
}

void InstallDigitFilter(QLineEdit* edit) { new DigitFilter(edit); }

} // namespace pellucor::editor
