// The idle environments kept between calls from native code: as many as such
// calls ever nested at once, which the bound on native re-entry keeps small.
#include "spare_env.h"

#include <memory>
#include <vector>

namespace Kel {
namespace {

// A call that grew its stack further than this gives the room back: an
// environment kept idle should not hold on to one deep recursion's stack.
constexpr size_t MAX_KEPT_STACK = 1024;

// Never destroyed: a value released while the process exits may still run
// its destructor, which takes an environment from here.
std::vector<std::unique_ptr<Env>>& spares() {
    static auto* kept = new std::vector<std::unique_ptr<Env>>;
    return *kept;
}

} // namespace

SpareEnv::SpareEnv() {
    std::vector<std::unique_ptr<Env>>& kept = spares();
    if (kept.empty()) {
        m_env = new Env;
        return;
    }
    m_env = kept.back().release();
    kept.pop_back();
}

SpareEnv::~SpareEnv() {
    if (m_env->idle() && m_env->stack().capacity() <= MAX_KEPT_STACK)
        spares().emplace_back(m_env);
    else
        delete m_env;
}

} // namespace Kel
