#pragma once
// Setting one property of one component from the text of a language file.
//
// Language files name properties the way the forms of the original design did (Caption, Hint,
// Items, Left, ...). Those names are mapped onto what Qt widgets offer; any other name is looked
// up among the component's Qt properties. Main thread only, like every widget call.
#include <QString>

class QObject;

namespace pellucor::lang {

// Looks propertyName up on component without regard to (ASCII) case and sets it from value:
//
//   Caption   button, label, check box or action text; group box or menu title; tab page's tab
//             text; a window's title
//   Hint      tool tip
//   Text      the text of edits, labels and buttons; an editable combo box's edit text; the whole
//             text of a text box
//   Items     a combo box's or list's items, one per line
//   Lines     a text box's lines
//   Left, Top, Width, Height   the widget's position and size
//
// Other names: a writable Qt property of integer kind takes the value as an integer, one of text
// kind takes the text, one of string-list kind takes the lines. Properties of any other kind
// (booleans, enumerations, fonts, colours ...) are left alone, so a language file cannot show,
// hide, enable or disable anything.
//
// Texts: "||" becomes a line break. Lines: the value is split at "||" with SplitText (backslash
// escapes, double quotes group). Integers: decimal or "0x" hexadecimal; a value that is no
// integer leaves the property unchanged.
//
// Returns true when a property was set, false when the component has no such property or the
// value did not fit it.
bool SetPropertyText(QObject* component, const QString& propertyName, const QString& value);

} // namespace pellucor::lang
