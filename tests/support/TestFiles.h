// Fixture files and scratch files for tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "files/WordReader.h"

namespace brevimar::testing {

inline std::string DataPath(const std::string& name) { return std::string(BREVIMAR_TEST_DATA) + "/" + name; }

// The text of a fixture in tests/data.
inline std::string Fixture(const std::string& name)
{
    std::string text;
    EXPECT_TRUE(ReadTextFile(DataPath(name), &text)) << name;
    return text;
}

// A file of the test's own, in a folder of the test's own; returns its path.
inline std::string WriteTemp(const std::string& name, const std::string& text)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("brevimar-" + std::string(info->test_suite_name()) + "-" + info->name());
    const std::filesystem::path path = folder / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

}  // namespace brevimar::testing
