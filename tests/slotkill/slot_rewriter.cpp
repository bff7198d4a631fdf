// "write FOLDER" saves without end, through the game's slot store, into three
// numbered slots and the quick slot, alternating two saves of different
// lengths, and prints "round" after each round of saves; it stops only when
// killed. "check FOLDER" reads every slot and its
// backup back: each must be absent, or byte for byte one of the two saves and
// loaded as such. It prints the versions found and fails on anything else.
#include "game/saves/SlotStore.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const Kura::SlotId SLOTS[] = {{Kura::SlotId::NUMBERED, 1},
                              {Kura::SlotId::NUMBERED, 2},
                              {Kura::SlotId::NUMBERED, 3},
                              {Kura::SlotId::QUICK, 1}};
// Enough decisions that the longer save spans many pages of its file.
constexpr size_t LONG_TRAIL_DECISIONS = 5000;

std::vector<Kura::SaveRecord> Versions() {
    Kura::SaveRecord early;
    early.trail.beginScript = "001.kel";
    early.trail.messages = 3;
    early.stops = 3;
    early.message = "early";
    Kura::SaveRecord late = early;
    late.trail.decisions.assign(LONG_TRAIL_DECISIONS, "left");
    late.trail.messages = 100000;
    late.stops = late.trail.stops();
    late.message = "late";
    return {early, late};
}

int Write(const Kura::SlotStore& store) {
    const std::vector<Kura::SaveRecord> versions = Versions();
    for (unsigned i = 0;; ++i) {
        for (const Kura::SlotId& slot : SLOTS) {
            if (!store.write(slot, versions[i % 2])) {
                std::perror(store.path(slot).c_str());
                return 1;
            }
        }
        // Each round told at once, so the killer can time its kills.
        std::puts("round");
        std::fflush(stdout);
    }
}

// The version the file holds, -1 when absent, -2 when it is neither.
int VersionIn(const std::string& path, const Kura::SlotRead& read) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return -1;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    const std::vector<Kura::SaveRecord> versions = Versions();
    for (size_t v = 0; v < versions.size(); ++v) {
        if (bytes.str() == Kura::SaveFile::Encode(versions[v]) &&
            read.status == Kura::SlotRead::SAVED && read.record.message == versions[v].message)
            return static_cast<int>(v);
    }
    return -2;
}

int Check(const Kura::SlotStore& store) {
    int failures = 0;
    for (const Kura::SlotId& slot : SLOTS) {
        const std::string path = store.path(slot);
        const std::string backup = path + Kura::SlotStore::BACKUP_SUFFIX;
        for (const auto& [file, version] :
             {std::pair{path, VersionIn(path, store.read(slot))},
              std::pair{backup, VersionIn(backup, store.readBackup(slot))}}) {
            if (version == -2) {
                std::printf("torn: %s\n", file.c_str());
                ++failures;
            } else if (version >= 0) {
                std::printf("version %d\n", version);
            }
        }
    }
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode != "write" && mode != "check") {
        std::fprintf(stderr, "usage: slot_rewriter write|check FOLDER\n");
        return 2;
    }
    const Kura::SlotStore store(argv[2]);
    return mode == "write" ? Write(store) : Check(store);
}
