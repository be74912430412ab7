// The layer's screen reader interfaces, given to Qt for the widgets Qt's own do not describe
// rightly.
#pragma once

namespace platform {

// Idempotent; each control's widget calls it when made, before anyone can ask about it.
void installAccessibility();

} // namespace platform
