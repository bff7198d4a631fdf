// Binds every command of the command list into a player's interpreter. A kept
// command is bound to its hand-written body; a fired or asked one to a
// forwarder, generated here, that fires its signal with the script's arguments
// and keeps nothing of them.
#include "game/player/ScenarioPlayerImpl.h"

namespace Kura::ScenarioCommands {

namespace {

// Fires Command's signal on the current player; an asked command answers what
// the last connected slot answers, 0 when none is connected or there is no
// player (reported).
template <class Command, class Signature> struct Forwarder;
template <class Command, class R, class... A> struct Forwarder<Command, R(A...)> {
    static R call(A... args) {
        ScenarioPlayer::Impl* player = Target(Command::FUNCTION, __LINE__);
        if constexpr (std::is_void_v<R>) {
            if (player) (player->signals.*Command::SIGNAL)(args...);
        } else {
            return player ? (player->signals.*Command::SIGNAL)(args...).value_or(R{}) : R{};
        }
    }
};

#define KURA_FORWARDED(NAME, SIGNATURE)                                                            \
    struct NAME {                                                                                  \
        static constexpr const char* FUNCTION = "ScenarioPlayer::call" #NAME;                      \
        static constexpr auto SIGNAL = &ScenarioSignals::on##NAME;                                 \
    };
KURA_SCENARIO_COMMANDS(KURA_SCENARIO_SKIP, KURA_FORWARDED, KURA_FORWARDED)
#undef KURA_FORWARDED

} // namespace

void RegisterCommands(Kel::Interpreter& interpreter) {
#define KURA_BIND_KEPT(NAME, SIGNATURE) interpreter.registerFunction("call" #NAME, call##NAME);
#define KURA_BIND_FORWARDED(NAME, SIGNATURE)                                                       \
    interpreter.registerFunction("call" #NAME, Forwarder<NAME, SIGNATURE>::call);
    KURA_SCENARIO_COMMANDS(KURA_BIND_KEPT, KURA_BIND_FORWARDED, KURA_BIND_FORWARDED)
#undef KURA_BIND_KEPT
#undef KURA_BIND_FORWARDED
}

} // namespace Kura::ScenarioCommands
