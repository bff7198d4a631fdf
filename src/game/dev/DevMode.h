// Developer mode (`kura --dev`): the game plays as usual, and a one-line
// banner over the top of the canvas shows the latest problem of the play at
// its file and line (a compile message, a run-time message of the scenario, a
// failed engine check); Shift+R replays the play so far with the scene files
// read again, so an edit shows at the point the author was looking at.
// Without Start, every call here does nothing.
#pragma once

#include <string>

namespace Kel {
class Interpreter;
}

namespace Kura::DevMode {

// From now on the interpreter's messages and failed engine checks are
// gathered; they are still printed and logged as without developer mode.
void Start();
bool IsOn();
// Run-time messages are placed in this interpreter's running code.
void Watch(Kel::Interpreter* interpreter);
// "file:line: text" of the latest problem (its text alone when no scenario
// line caused it); empty while there is none.
std::string Latest();
// Before the game's frame: carries out a reload asked for since the last one.
void Update();
// After the game's frame, in canvas units: the banner, when there is a problem.
void DrawBanner();
// True when the key is developer mode's own (Shift+R).
bool KeyPressed(int key);

} // namespace Kura::DevMode
