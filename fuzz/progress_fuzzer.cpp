// Fuzz target: the progress file reader over any bytes. It must never crash,
// and whatever it accepts must come back the same through the writer. The
// input cut in two is also written as a pair of scenes and must read back.
#include "util/ProgressText.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using Kura::ProgressText::Read;
using Kura::ProgressText::Scenes;
using Kura::ProgressText::Write;

void expectRoundTrip(const Scenes& scenes) {
    std::optional<Scenes> again = Read(Write(scenes));
    if (!again || again->now != scenes.now || again->max != scenes.max) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (std::optional<Scenes> scenes = Read(text)) expectRoundTrip(*scenes);
    size_t half = size / 2;
    expectRoundTrip({std::string(text.substr(0, half)), std::string(text.substr(half))});
    return 0;
}
