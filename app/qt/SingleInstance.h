#pragma once
// The guard itself needs no Qt and lives in the core.
#include "app/SingleInstanceGuard.h"

namespace nimbrel::gui {

using nimbrel::SingleInstanceGuard;

} // namespace nimbrel::gui
