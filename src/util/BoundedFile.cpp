// The size is checked before anything is allocated, and the read itself stops
// at that size, so a file that grows in between cannot make it larger.
#include "util/BoundedFile.h"

#include <filesystem>
#include <fstream>

namespace Kura::BoundedFile {

std::optional<std::string> Read(const std::string& path, std::uintmax_t maxBytes) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > maxBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(static_cast<size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(size));
    if (in.bad()) return std::nullopt;
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

} // namespace Kura::BoundedFile
