// Slot files: what is written reads back, the old version stays as the
// backup, and anything that is not a whole save of a known format reads as
// damaged without harm.
#include "game/saves/SlotStore.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kura_test {

namespace {

using Kura::SaveRecord;
using Kura::SlotId;
using Kura::SlotRead;
using Kura::SlotStore;

constexpr const char* FOLDER = "save";

SaveRecord Record(int32_t messages, const std::string& decision) {
    SaveRecord record;
    record.trail.beginScript = "001.kel";
    record.trail.randomState = 0xFEDCBA9876543210ull; // above the signed range
    record.trail.decisions = {decision, "見せる-星座の本"};
    record.trail.messages = messages;
    record.stops = record.trail.stops();
    record.script = "002.kel";
    record.message = "ごめん、待った？";
    record.savedAtMs = 1700000000000 + messages;
    return record;
}

void ExpectSame(const SaveRecord& a, const SaveRecord& b) {
    EXPECT_EQ(a.trail.beginScript, b.trail.beginScript);
    EXPECT_EQ(a.trail.randomState, b.trail.randomState);
    EXPECT_EQ(a.trail.decisions, b.trail.decisions);
    EXPECT_EQ(a.trail.messages, b.trail.messages);
    EXPECT_EQ(a.stops, b.stops);
    EXPECT_EQ(a.script, b.script);
    EXPECT_EQ(a.message, b.message);
    EXPECT_EQ(a.savedAtMs, b.savedAtMs);
}

class SlotFilesTest : public ScratchDirTest {
protected:
    SlotStore store{FOLDER};
    const SlotId slot3{SlotId::NUMBERED, 3};
};

TEST_F(SlotFilesTest, WrittenSaveReadsBackAndTheOldOneIsItsBackup) {
    EXPECT_EQ(store.read(slot3).status, SlotRead::EMPTY);
    ASSERT_TRUE(store.write(slot3, Record(5, "go")));
    ASSERT_TRUE(store.write(slot3, Record(9, "stay")));
    SlotRead now = store.read(slot3);
    ASSERT_EQ(now.status, SlotRead::SAVED);
    ExpectSame(now.record, Record(9, "stay"));
    SlotRead backup = store.readBackup(slot3);
    ASSERT_EQ(backup.status, SlotRead::SAVED);
    ExpectSame(backup.record, Record(5, "go"));
    EXPECT_EQ(store.path(slot3), "save/slot03.json");
}

TEST_F(SlotFilesTest, AutoSavesTakeTurnsOldestFirst) {
    std::vector<int32_t> used;
    for (int32_t round = 0; round < 5; ++round) {
        const SlotId next = store.nextAuto();
        used.push_back(next.number);
        ASSERT_TRUE(store.write(next, Record(round, "go")));
    }
    EXPECT_EQ(used, (std::vector<int32_t>{1, 2, 3, 1, 2}));
}

// Each damage of a good file, and files that never were saves.
TEST_F(SlotFilesTest, DamagedFilesReadAsDamaged) {
    ASSERT_TRUE(store.write(slot3, Record(5, "go")));
    std::string good;
    {
        std::ifstream in(store.path(slot3));
        std::getline(in, good);
    }
    std::string altered = good;
    altered.replace(altered.find("\"go\""), 4, "\"GO\"");
    std::string newer = good;
    newer.replace(newer.find("\"version\":1"), 11, "\"version\":2");
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"truncated", good.substr(0, good.size() / 2)},
        {"empty", ""},
        {"altered byte", altered},
        {"newer format", newer},
        {"garbage", std::string("\x89PNG\r\n\x1a\n\0\0\xff", 11)},
        {"not an object", "[1,2,3]"},
        {"deep nesting", std::string(100000, '[') + std::string(100000, ']')},
        {"wrong types", R"({"format":"kura-save","version":1,"checksum":7,"save":{}})"},
    };
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        WriteFile(store.path(slot3), text);
        EXPECT_EQ(store.read(slot3).status, SlotRead::DAMAGED);
    }
    // Far too large to be a save: refused by its size, not read.
    std::filesystem::resize_file(store.path(slot3), 100 * 1024 * 1024);
    EXPECT_EQ(store.read(slot3).status, SlotRead::DAMAGED);
}

} // namespace

} // namespace kura_test
