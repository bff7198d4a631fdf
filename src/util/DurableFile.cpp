// The temporary file sits beside the target, so the rename never crosses file
// systems and is atomic; fsync before the rename keeps a crash from making the
// new name point at data that never reached the disk.
#include "util/DurableFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace Kura::DurableFile {

namespace {

constexpr const char* TEMPORARY_SUFFIX = ".tmp";
constexpr mode_t FILE_MODE = 0644; // what fopen would give, before the umask

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

bool WriteSynced(const std::string& path, const std::string& text) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, FILE_MODE);
    if (fd < 0) return false;
    bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    bool closed = ::close(fd) == 0;
    return written && closed;
}

// The folder's entry for the new name is only on the disk once the folder is
// flushed too.
bool SyncFolderOf(const std::string& path) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

bool Replace(const std::string& path, const std::string& text) {
    std::string temporary = path + TEMPORARY_SUFFIX;
    if (!WriteSynced(temporary, text) || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return SyncFolderOf(path);
}

} // namespace Kura::DurableFile
