// The engine's process-wide services, started and stopped in one place so the
// program and every test that runs the game set them up alike: the input state
// with its router, the default font, drawing, the game's fonts, textures, the
// input controller, sound with the game's sound effects, and the player picture.
// Needs Setting and an open GL window.
#pragma once

namespace Kura {

class InputRouter;

namespace Services {

// A button held this many frames starts repeating.
constexpr int HOLD_INTERVAL_FRAMES = 10;

// Each service is created after the ones it needs. The game controller is left
// to the caller, which creates it once the services run.
void Start();
// The game controller first, then the services in the reverse order of Start.
void Stop();

// The router that takes the window's input events; null when not started.
InputRouter* Router();

} // namespace Services

} // namespace Kura
