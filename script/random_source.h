// The random numbers scripts draw (the `random` library object). There is one
// generator per process, like the global object every interpreter shares, and
// its whole state is one 64-bit word, so a host can record where a play's
// numbers began and replay them exactly:
//
//     uint64_t mark = Kel::random::state();   // before the scene runs
//     ...
//     Kel::random::setState(mark);            // replaying draws the same numbers
//
// The state starts from the clock and the process, so every new play draws
// new numbers; a script fixes the sequence with `random.seed(n)`.
#pragma once

#include <cstdint>

namespace Kel::random {

// The generator's state: every number drawn next follows from it alone.
uint64_t state();
// Puts the generator back to a state answered by state() (any value is valid).
void setState(uint64_t state);
// Starts the sequence that `random.seed(seed)` starts in a script.
void seed(int64_t seed);

// The next 64 random bits; advances the state.
uint64_t next();
// A uniform integer in 0 .. bound - 1 (bound > 0), without modulo bias.
uint64_t below(uint64_t bound);
// A uniform float in [0, 1) with 53 random bits.
double unit();

} // namespace Kel::random
