// Whether the files a game names can be used: each is opened and decoded the
// way the engine would, but into memory only (no texture, no sound device).
#pragma once

#include <string>

namespace Kura::AssetCheck {

enum Kind { PICTURE, SOUND, FONT };

// Empty when the file at path opens and decodes; otherwise the problem,
// naming the file as `shown`: "picture not found: image/bg/nite.png" or
// "picture does not decode: ...".
std::string Problem(Kind kind, const std::string& path, const std::string& shown);

} // namespace Kura::AssetCheck
