// Every reading goes through the host's filter, if one is set, in the order
// the scripts read the clock.
#include "clock_source.h"

#include <ctime>
#include <utility>

namespace Kel::clock {

namespace {

Filter& current() {
    static Filter filter;
    return filter;
}

int64_t filtered(int64_t live) {
    const Filter& filter = current();
    return filter ? filter(live) : live;
}

} // namespace

void setFilter(Filter filter) {
    current() = std::move(filter);
}

int64_t wallSeconds() {
    return filtered(static_cast<int64_t>(std::time(nullptr)));
}

int64_t processorMs() {
    const int64_t ticks = static_cast<int64_t>(std::clock());
    return filtered(ticks * PROCESSOR_MS_PER_SECOND / CLOCKS_PER_SEC);
}

} // namespace Kel::clock
