// Pictures through FreeImage, sounds through libsndfile and fonts through
// FreeType: the libraries the engine loads them with, minus the upload.
#include "game/check/AssetCheck.h"

#include <FreeImage.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <sndfile.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace Kura::AssetCheck {

namespace {

constexpr const char* KIND_NAMES[] = {"picture", "sound", "font"};

bool PictureDecodes(const std::string& path) {
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_UNKNOWN) format = FreeImage_GetFIFFromFilename(path.c_str());
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) return false;
    FIBITMAP* bitmap = FreeImage_Load(format, path.c_str(), 0);
    if (!bitmap) return false;
    FreeImage_Unload(bitmap);
    return true;
}

// The header and the first block of samples: enough to know the codec reads it.
bool SoundDecodes(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return false;
    constexpr sf_count_t PROBE_FRAMES = 256;
    std::vector<float> samples(static_cast<size_t>(PROBE_FRAMES * std::max(info.channels, 1)));
    const bool read = info.frames == 0 || sf_readf_float(file, samples.data(), PROBE_FRAMES) > 0;
    sf_close(file);
    return read;
}

bool FontDecodes(const std::string& path) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return false;
    FT_Face face = nullptr;
    const bool opened = FT_New_Face(library, path.c_str(), 0, &face) == 0;
    if (opened) FT_Done_Face(face);
    FT_Done_FreeType(library);
    return opened;
}

bool Decodes(Kind kind, const std::string& path) {
    switch (kind) {
    case PICTURE:
        return PictureDecodes(path);
    case SOUND:
        return SoundDecodes(path);
    default:
        return FontDecodes(path);
    }
}

} // namespace

std::string Problem(Kind kind, const std::string& path, const std::string& shown) {
    const std::string name = KIND_NAMES[kind];
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return name + " not found: " + shown;
    if (!Decodes(kind, path)) return name + " does not decode: " + shown;
    return {};
}

} // namespace Kura::AssetCheck
