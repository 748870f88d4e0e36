#pragma once
// The window tests run inside the program's own application object.
#include "../support/QtEnvironment.h"
#include "app/Application.h"

namespace pellucor::app::test {

using QtEnvironment = pellucor::test::QtEnvironment<Application>;

} // namespace pellucor::app::test
