// The clock scripts read: `time.time()`, `time.clock()` and `date` without a
// moment. Like the random numbers there is one per process, and a host that
// replays a play can make every reading answer what it answered then:
//
//     Kel::clock::setFilter([&](int64_t live) { return recorded or live; });
//
// Without a filter the readings are the live clock.
#pragma once

#include <cstdint>
#include <functional>

namespace Kel::clock {

// Handed every reading as the live clock gives it; answers what the script
// sees. An empty filter gives the live value.
using Filter = std::function<int64_t(int64_t live)>;
void setFilter(Filter filter);

// Seconds since 1970.
int64_t wallSeconds();
// Processor time the process has used, in milliseconds: scripts count in
// them whatever unit the C library counts in.
inline constexpr int64_t PROCESSOR_MS_PER_SECOND = 1000;
int64_t processorMs();

} // namespace Kel::clock
