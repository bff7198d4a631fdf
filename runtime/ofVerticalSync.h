// Swap-interval control through whichever GLX extension the driver advertises.
#pragma once

// Asks for one swap per vertical blank (on) or none (off). Returns false when the
// driver offers no swap-control extension; the run loop then paces by sleeping.
bool ofApplyVerticalSync(bool on);
