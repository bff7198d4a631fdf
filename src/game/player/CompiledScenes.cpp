// A file that cannot be looked at is compiled every time: the compiler then
// reports it as it always has.
#include "game/player/CompiledScenes.h"

#include "interpreter.h"

#include <system_error>

namespace Kura {

int CompiledScenes::find(const std::string& path, Kel::Ref& unit) {
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(path, error);
    const uintmax_t size = error ? 0 : std::filesystem::file_size(path, error);
    if (error) {
        m_Files.erase(path);
        return Kel::Interpreter::loadUnit(path, unit);
    }
    auto kept = m_Files.find(path);
    if (kept != m_Files.end() && kept->second.matches(modified, size)) {
        unit = kept->second.unit;
        return Kel::Interpreter::LOADED;
    }
    const int result = Kel::Interpreter::loadUnit(path, unit);
    if (result == Kel::Interpreter::LOADED)
        m_Files[path] = Compiled{modified, size, unit};
    else
        m_Files.erase(path);
    return result;
}

bool CompiledScenes::isCurrent(const std::string& path) const {
    const auto kept = m_Files.find(path);
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(path, error);
    const uintmax_t size = error ? 0 : std::filesystem::file_size(path, error);
    return !error && kept != m_Files.end() && kept->second.matches(modified, size);
}

} // namespace Kura
