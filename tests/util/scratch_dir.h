// Runs a test inside a fresh empty folder, so the report log it writes starts
// out missing and never touches the build tree; files are written and read
// relative to it. Needs only the standard library.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

class ScratchDirTest : public testing::Test {
protected:
    void SetUp() override {
        m_Previous = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "kura-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_Dir = pattern;
        std::filesystem::current_path(m_Dir);
    }
    void TearDown() override {
        std::filesystem::current_path(m_Previous);
        std::filesystem::remove_all(m_Dir);
    }

    static std::string ReadFile(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Writes path (relative to the test folder), creating its folders.
    static void WriteFile(const std::string& path, const std::string& text) {
        std::filesystem::path parent = std::filesystem::path(path).parent_path();
        if (!parent.empty()) std::filesystem::create_directories(parent);
        std::ofstream(path, std::ios::binary) << text;
    }

    // The reports appended to log.txt since the last call.
    std::string NewReports() {
        std::string log = ReadFile("log.txt");
        std::string added = log.size() > m_LogRead ? log.substr(m_LogRead) : std::string();
        m_LogRead = log.size();
        return added;
    }

private:
    std::filesystem::path m_Previous;
    std::filesystem::path m_Dir;
    size_t m_LogRead = 0;
};
