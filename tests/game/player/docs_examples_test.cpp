// Every scenario example in docs/scenario-commands.md compiles and runs to its
// end under the headless host, so the reference never shows a script that
// does not work.
#include "game_fixture.h"

#include <regex>

namespace kura_test {
namespace {

// The bodies of the ```kel blocks of a Markdown text.
std::vector<std::string> KelBlocks(const std::string& markdown) {
    std::vector<std::string> blocks;
    const std::string open = "```kel\n", close = "```";
    for (size_t at = markdown.find(open); at != std::string::npos; at = markdown.find(open, at)) {
        at += open.size();
        size_t end = markdown.find(close, at);
        if (end == std::string::npos) break;
        blocks.push_back(markdown.substr(at, end - at));
        at = end + close.size();
    }
    return blocks;
}

using DocsExamples = PlayerTest;

TEST_F(DocsExamples, EveryExampleRunsToItsEnd) {
    std::vector<std::string> blocks = KelBlocks(ReadFile(KURA_DOCS_DIR "/scenario-commands.md"));
    ASSERT_GE(blocks.size(), 4u);
    const std::regex nextFile("callGotoNextScript\\(\"([^\"]+)\"\\)");
    for (const std::string& block : blocks) {
        for (std::sregex_iterator it(block.begin(), block.end(), nextFile), end; it != end; ++it)
            WriteScenario((*it)[1].str(), "return 0;");
        WriteScenario("example.kel", block);
        host->answer("North");
        StartAndRun("example.kel");
        EXPECT_FALSE(player->isScriptRunning()) << block;
        EXPECT_EQ(NewReports(), "") << block;
    }
}

} // namespace
} // namespace kura_test
