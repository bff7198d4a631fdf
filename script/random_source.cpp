// SplitMix64: a counter stepped by a fixed odd constant and a mixing function
// over it. Its state is a single word that any value may take, which is what
// makes recording and replaying it trivial; its output passes the usual
// statistical batteries, more than enough for dice and shuffles.
#include "random_source.h"

#include <chrono>
#include <unistd.h>

namespace Kel::random {

namespace {

// The golden-ratio step and the two multipliers of the SplitMix64 finaliser.
constexpr uint64_t GOLDEN_GAMMA = 0x9E3779B97F4A7C15ull;
constexpr uint64_t MIX_MULTIPLIER_1 = 0xBF58476D1CE4E5B9ull;
constexpr uint64_t MIX_MULTIPLIER_2 = 0x94D049BB133111EBull;
// A double has 53 bits of mantissa; the rest of a draw is dropped.
constexpr int FLOAT_BITS = 53;
constexpr double FLOAT_SCALE = 1.0 / static_cast<double>(1ull << FLOAT_BITS);

uint64_t mix(uint64_t z) {
    z = (z ^ (z >> 30)) * MIX_MULTIPLIER_1;
    z = (z ^ (z >> 27)) * MIX_MULTIPLIER_2;
    return z ^ (z >> 31);
}

// Two processes started in the same tick still differ by their ids.
uint64_t freshState() {
    auto ticks = std::chrono::steady_clock::now().time_since_epoch().count() ^
                 std::chrono::system_clock::now().time_since_epoch().count();
    return mix(static_cast<uint64_t>(ticks) ^ (static_cast<uint64_t>(getpid()) << 32));
}

uint64_t& current() {
    static uint64_t value = freshState();
    return value;
}

} // namespace

uint64_t state() {
    return current();
}

void setState(uint64_t state) {
    current() = state;
}

// A seed goes through the mixer once, so nearby seeds start far apart.
void seed(int64_t seed) {
    current() = mix(static_cast<uint64_t>(seed));
}

uint64_t next() {
    current() += GOLDEN_GAMMA;
    return mix(current());
}

// Draws above the largest multiple of `bound` would favour small results;
// they are drawn again (at most half the draws, usually almost none).
uint64_t below(uint64_t bound) {
    uint64_t limit = -bound % bound; // 2^64 mod bound
    uint64_t draw = next();
    while (draw < limit)
        draw = next();
    return draw % bound;
}

double unit() {
    return static_cast<double>(next() >> (64 - FLOAT_BITS)) * FLOAT_SCALE;
}

} // namespace Kel::random
