#pragma once
// Applying a language file to a form: its [Font] section, then the form's own section, whose
// lines "component.property=value" set one property each (see SetPropertyText).
//
// Each form calls this first thing when it is built, so whatever the form's own code sets
// afterwards wins over the file. The file is read anew on every call. Main thread only.
#include <string>
#include <string_view>

class QObject;
class QWidget;

namespace pellucor::lang {

// The dynamic property of the form that holds the charset number of [Font] CharSet. Qt fonts
// need no charset; the number is kept for code that wants to know what the file asked for.
inline constexpr const char* kFontCharsetProperty = "fontCharset";

// Applies the file at filePath to form:
// 1. [Font] BiDiMode 0 to 3 sets the reading order of the application and the form (1 right to
//    left, 0, 2 and 3 left to right); other values change nothing, a missing key means 0.
// 2. Size > 0 becomes the form's font size in points.
// 3. Name becomes the form's font family when such a family is installed (case ignored).
// 4. CharsetFromName(CharSet) is stored in the form's kFontCharsetProperty.
// 5. Each line of the section named like the form's objectName, in file order, is split at '='
//    and its key at '.' with SplitText; lines that do not give exactly key and value, or
//    component and property, are skipped. An empty component name, or the form's own name,
//    means the form; any other is looked up among the form's descendants.
// Missing files, sections, components and properties change nothing and show no message.
void ApplyLanguage(QWidget* form, const std::string& filePath);

// The descendant of form whose objectName equals name, ASCII case ignored; nullptr when none.
QObject* FindComponent(QWidget* form, std::string_view name);

} // namespace pellucor::lang
