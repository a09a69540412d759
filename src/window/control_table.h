// The window's control table: every control of frmKV, one row each.
#pragma once

#include "window/ui/layout.h"

#include <span>

namespace kalvo {

std::span<const ControlSpec> controlTable();

// Captions that name the control beside them (the event list, the era-table frame).
std::span<const CaptionBuddy> captionBuddies();

}  // namespace kalvo
