#pragma once
// One QApplication for the editor's widget tests, registered once however many test files
// include this header.
#include "../support/QtEnvironment.h"

namespace pellucor::editor::test {

using QtEnvironment = pellucor::test::QtEnvironment<>;
inline const auto* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace pellucor::editor::test
