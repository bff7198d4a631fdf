// The signals of the scenario player, one `onNAME` for each command fired to
// the game controller and for each piece of news a kept command tells, both
// from the command list. Including Boost.Signals2 is slow, so only files that
// connect or fire these include this header.
#pragma once

#include "game/player/ScenarioCommandList.h"

#include <boost/signals2/signal.hpp>

namespace Kura {

struct ScenarioSignals {
    // An asked command's signal answers with the last connected slot's answer,
    // or with nothing when no slot is connected.
#define KURA_SIGNAL(NAME, SIGNATURE) boost::signals2::signal<SlotSignature<SIGNATURE>> on##NAME;
    KURA_SCENARIO_COMMANDS(KURA_SCENARIO_SKIP, KURA_SIGNAL, KURA_SIGNAL)
    KURA_PLAYER_NEWS(KURA_SIGNAL)
#undef KURA_SIGNAL
    // What the play shows and decides, for a history of it: a message as it
    // reads whole, a decided path, each at the count of stops passed before
    // it (narrow encoding). A replay tells them again.
    boost::signals2::signal<void(int32_t stop, const std::string& text)> onShowMessage;
    boost::signals2::signal<void(int32_t stop, const std::string& path)> onDecide;
};

} // namespace Kura
