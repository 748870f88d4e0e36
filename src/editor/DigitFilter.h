#pragma once
// The digit filter of the WMV peak bit-rate fields: only the digits "0" to "9" get in.
//
// A typed character other than a digit is discarded before it reaches the field, so the field
// and its selection stay as they were. A paste (or a drop, or composed input) is typing in one
// go: of the text it inserts only the digits are kept, and the rest of the field is left alone.
// Text the program sets (a stored peak bit rate) is not filtered; OK stores whatever the field
// holds. Main thread only.
#include <QString>

class QLineEdit;

namespace pellucor::editor {

// Whether a typed character (the text of a key press without Ctrl, Alt or Meta) may reach the
// field: the digits "0" to "9", and control characters such as Backspace or Enter. Key presses
// without text always pass; shortcuts (Ctrl+V) pass too, and what they insert meets the paste
// rule.
bool IsTypedTextAccepted(const QString& typed);

struct DigitEdit {
    QString text;
    int cursor = 0;
    bool operator==(const DigitEdit&) const = default;
};

// An edit turned before into after, leaving the cursor at cursor. What the edit inserted, found
// as the stretch between the texts' common beginning and common end, keeps only its digits; the
// text around it stays as it was. The cursor moves back by the characters dropped before it.
DigitEdit KeepInsertedDigits(const QString& before, const QString& after, int cursor);

// Puts both rules on edit: typed characters through IsTypedTextAccepted, and every edit by the
// user through KeepInsertedDigits. The filter is a child of edit and lives as long as it does.
void InstallDigitFilter(QLineEdit* edit);

} // namespace pellucor::editor
