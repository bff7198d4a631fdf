// The cycle collector: one collection over every live holder of the holder
// pool. Reference counting frees acyclic garbage at once; a collection finds
// the holders kept alive only by other garbage, runs their destructors and
// breaks their cycles. It runs only when asked, and once at shutdown.
#pragma once

#include <cstddef>

namespace Kel {

// What a collection does with pool blocks left entirely free.
enum class FreeBlocks { RELEASE, KEEP };

// Runs one collection; answers the number of garbage holders whose values it
// broke up (garbage numbers, strings and empty objects go with them uncounted).
// The free blocks are given back to the system unless the caller keeps them
// (the last collection, when the process ends anyway).
size_t collectGarbage(FreeBlocks freeBlocks = FreeBlocks::RELEASE);

} // namespace Kel
