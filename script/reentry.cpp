// The native re-entry bound's diagnostic.
#include "reentry.h"

#include "printer.h"

namespace Kel {

ReentryGuard::ReentryGuard() : m_allowed(++s_nesting <= MAX_NATIVE_NESTING) {
    if (!m_allowed)
        printMessage("runtime error : native calls nested deeper than %d\n", MAX_NATIVE_NESTING);
}

} // namespace Kel
