#pragma once
// A string-table entry (messages and titles from the language file) as the widgets need it.
#include "lang/StringTable.h"

#include <QString>

namespace pellucor::app {

inline QString Entry(int index) { return QString::fromStdString(lang::StringTable[index]); }

} // namespace pellucor::app
