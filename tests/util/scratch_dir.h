// Runs a test inside a fresh empty folder, so the report log it writes starts
// out missing and never touches the build tree. Needs only the standard library.
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

private:
    std::filesystem::path m_Previous;
    std::filesystem::path m_Dir;
};
