// The scenario files compiled so far, kept for the life of the player. A
// replay runs every scene of the play again; compiling each of them again
// would cost more than running them. A file whose modification time or size
// has changed since is compiled again, so an edit is always seen.
#pragma once

#include "holder.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace Kura {

class CompiledScenes {
public:
    // The compiled code of the scenario file at path, compiled now unless a
    // copy of the same file is kept; answers an Interpreter::LoadResult.
    int find(const std::string& path, Kel::Ref& unit);
    // True when the file at path is the one compiled last.
    bool isCurrent(const std::string& path) const;

private:
    struct Compiled {
        bool matches(const std::filesystem::file_time_type& time, uintmax_t bytes) const {
            return modified == time && size == bytes;
        }

        std::filesystem::file_time_type modified;
        uintmax_t size = 0;
        Kel::Ref unit;
    };
    std::map<std::string, Compiled> m_Files;
};

} // namespace Kura
