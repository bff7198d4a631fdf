// Slot files are written as a whole or not at all (util/DurableFile), and the
// old version moves to the backup name by a hard link renamed into place, so
// at every moment the slot and its backup each hold a complete file.
#include "game/saves/SlotStore.h"

#include "util/BoundedFile.h"
#include "util/DurableFile.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace Kura {

namespace {

constexpr const char* SAVE_EXTENSION = ".json";
constexpr const char* THUMBNAIL_EXTENSION = ".png";
constexpr const char* LINK_SUFFIX = ".link";
constexpr const char* NUMBERED_PREFIX = "slot";
constexpr const char* QUICK_NAME = "quick";
constexpr const char* AUTO_PREFIX = "auto";
constexpr size_t SLOT_NAME_SIZE = 16;

std::string SlotName(SlotId slot) {
    char name[SLOT_NAME_SIZE];
    switch (slot.kind) {
    case SlotId::QUICK:
        return QUICK_NAME;
    case SlotId::AUTO:
        std::snprintf(name, sizeof name, "%s%d", AUTO_PREFIX, slot.number);
        return name;
    default:
        std::snprintf(name, sizeof name, "%s%02d", NUMBERED_PREFIX, slot.number);
        return name;
    }
}

// The old file under the backup name, through a link, so there is no moment
// without a complete backup.
bool KeepAsBackup(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return true;
    const std::string backup = path + SlotStore::BACKUP_SUFFIX;
    const std::string link = backup + LINK_SUFFIX;
    std::remove(link.c_str());
    return ::link(path.c_str(), link.c_str()) == 0 &&
           std::rename(link.c_str(), backup.c_str()) == 0;
}

} // namespace

SlotStore::SlotStore(std::string folder) : m_Folder(std::move(folder)) {}

std::string SlotStore::path(SlotId slot) const {
    return m_Folder + "/" + SlotName(slot) + SAVE_EXTENSION;
}

std::string SlotStore::thumbnailPath(SlotId slot) const {
    return m_Folder + "/" + SlotName(slot) + THUMBNAIL_EXTENSION;
}

// A file too large to be a save is refused by its size, before it is read.
SlotRead SlotStore::readFile(const std::string& file) const {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) return {};
    SlotRead result;
    result.status = SlotRead::DAMAGED;
    const std::optional<std::string> text = BoundedFile::Read(file, SaveFile::MAX_FILE_BYTES);
    if (!text) return result;
    if (std::optional<SaveRecord> record = SaveFile::Decode(*text)) {
        result.status = SlotRead::SAVED;
        result.record = std::move(*record);
    }
    return result;
}

SlotRead SlotStore::read(SlotId slot) const {
    return readFile(path(slot));
}

SlotRead SlotStore::readBackup(SlotId slot) const {
    return readFile(path(slot) + BACKUP_SUFFIX);
}

bool SlotStore::write(SlotId slot, const SaveRecord& record) const {
    std::error_code error;
    std::filesystem::create_directories(m_Folder, error);
    const std::string file = path(slot);
    return KeepAsBackup(file) && DurableFile::Replace(file, SaveFile::Encode(record));
}

SlotId SlotStore::nextAuto() const {
    SlotId oldest{SlotId::AUTO, 1};
    int64_t oldestTime = INT64_MAX;
    for (int32_t number = 1; number <= AUTO_SLOTS; ++number) {
        const SlotId slot{SlotId::AUTO, number};
        const SlotRead found = read(slot);
        if (found.status != SlotRead::SAVED) return slot;
        if (found.record.savedAtMs < oldestTime) {
            oldestTime = found.record.savedAtMs;
            oldest = slot;
        }
    }
    return oldest;
}

} // namespace Kura
