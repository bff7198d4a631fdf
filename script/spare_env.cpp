// The idle environments kept between calls from native code: as many as such
// calls nest at once, which the bound on native re-entry keeps small. They
// are never deleted: a value released while the process exits may still run
// its destructor, which takes an environment from here.
#include "spare_env.h"

#include "reentry.h"

#include <cstddef>

namespace Kel {
namespace {

// A call that grew its stack further than this gives the room back: an
// environment kept idle should not hold on to one deep recursion's stack.
constexpr size_t MAX_KEPT_STACK = 1024;
// Callbacks nest no deeper than natives re-enter; a destructor's call beyond
// that simply gets a new environment.
constexpr int MAX_SPARES = MAX_NATIVE_NESTING;

Env* g_spares[MAX_SPARES];
int g_spareCount = 0;

} // namespace

SpareEnv::SpareEnv() : m_env(g_spareCount > 0 ? g_spares[--g_spareCount] : new Env) {}

SpareEnv::~SpareEnv() {
    if (m_env->idle() && m_env->stack().capacity() <= MAX_KEPT_STACK && g_spareCount < MAX_SPARES)
        g_spares[g_spareCount++] = m_env;
    else
        delete m_env;
}

} // namespace Kel
