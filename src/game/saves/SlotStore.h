// The save slots of a game: numbered slots in pages, one quick slot and
// auto-save slots that take turns, each a file in the game's save folder with
// its thumbnail beside it and the previous version kept as its backup.
#pragma once

#include "game/saves/SaveFile.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Kura {

struct SlotId {
    enum Kind { NUMBERED, QUICK, AUTO };
    Kind kind = NUMBERED;
    int32_t number = 1; // from 1; the quick slot has only 1
    bool operator==(const SlotId&) const = default;
};

struct SlotRead {
    enum Status { EMPTY, SAVED, DAMAGED };
    Status status = EMPTY;
    SaveRecord record; // when SAVED
};

class SlotStore {
public:
    static constexpr int32_t NUMBERED_SLOTS = 30;
    static constexpr int32_t SLOTS_PER_PAGE = 6;
    static constexpr int32_t AUTO_SLOTS = 3;
    static constexpr const char* BACKUP_SUFFIX = ".bak";

    explicit SlotStore(std::string folder); // the game's save folder

    std::string path(SlotId slot) const;
    std::string thumbnailPath(SlotId slot) const;
    SlotRead read(SlotId slot) const;
    SlotRead readBackup(SlotId slot) const;
    // Keeps the slot's current file as its backup, then replaces it durably;
    // false (with the old file intact) when the folder cannot be written.
    bool write(SlotId slot, const SaveRecord& record) const;
    // The auto-save slot to write next: an empty or damaged one, else the oldest.
    SlotId nextAuto() const;

private:
    SlotRead readFile(const std::string& path) const;
    std::string m_Folder;
};

} // namespace Kura
