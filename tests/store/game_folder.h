// Test support: a scratch game folder per test case, and the game files as
// table images.
//
// Test cases of one program may run at the same time in the same scratch
// folder, so every case works in a folder of its own named after it, with
// the game's data\ folder below it.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/host.h"
#include "store/tables.h"

constexpr int GameFileCount = 17;  // data00 .. data16

struct TableImage {
    void* Data;
    size_t Bytes;
};

// The table that game file n (0..16) is the image of.
inline TableImage ImageOfFile(int n) {
    switch (n) {
        case 0: return {PersonTable, sizeof PersonTable};
        case 1: return {SurnameTable, sizeof SurnameTable};
        case 2: return {GivenNameTable, sizeof GivenNameTable};
        case 3: return {PersonSkillTable, sizeof PersonSkillTable};
        case 4: return {PersonItemTable, sizeof PersonItemTable};
        case 5: return {AffinityMatrix, sizeof AffinityMatrix};
        case 6: return {SkillTable.Name, sizeof SkillTable.Name};
        case 7: return {SkillTable.Param, sizeof SkillTable.Param};
        case 8: return {ItemTable.Name, sizeof ItemTable.Name};
        case 9: return {ItemTable.Param, sizeof ItemTable.Param};
        case 10: return {EffectTable.Name, sizeof EffectTable.Name};
        case 11: return {EffectTable.Param, sizeof EffectTable.Param};
        case 12: return {FormationTable.Name, sizeof FormationTable.Name};
        case 13: return {FormationTable.Param, sizeof FormationTable.Param};
        case 14: return {CastleTable.Name, sizeof CastleTable.Name};
        case 15: return {CastleTable.Param, sizeof CastleTable.Param};
        case 16: return {CastleMatrix, sizeof CastleMatrix};
    }
    return {nullptr, 0};
}

// Host path of game file n in a folder of the scratch game folder.
inline std::string DataFilePath(int n, const char* folder = "data") {
    char name[64];
    snprintf(name, sizeof name, "%s/data%02d.dat", folder, n);
    return name;
}

inline void WriteDataFile(int n, const void* bytes, size_t size, const char* folder = "data") {
    FILE* file = fopen(DataFilePath(n, folder).c_str(), "wb");
    ASSERT_NE(file, nullptr);
    if (size > 0) {
        ASSERT_EQ(fwrite(bytes, 1, size, file), size);
    }
    fclose(file);
}

inline void WriteDataFile(int n, const std::vector<unsigned char>& bytes, const char* folder = "data") {
    WriteDataFile(n, bytes.data(), bytes.size(), folder);
}

// The whole file; empty when it cannot be read.
inline std::vector<unsigned char> ReadDataFile(int n, const char* folder = "data") {
    std::vector<unsigned char> bytes;
    FILE* file = fopen(DataFilePath(n, folder).c_str(), "rb");
    if (!file) return bytes;
    unsigned char block[65536];
    for (size_t got; (got = fread(block, 1, sizeof block, file)) > 0;) bytes.insert(bytes.end(), block, block + got);
    fclose(file);
    return bytes;
}

// Number of entries in a folder of the scratch game folder.
inline int FolderEntryCount(const char* folder) {
    std::error_code error;
    int count = 0;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) ++count;
    return count;
}

inline std::vector<unsigned char> SnapshotOfFile(int n) {
    TableImage image = ImageOfFile(n);
    const unsigned char* data = (const unsigned char*)image.Data;
    return std::vector<unsigned char>(data, data + image.Bytes);
}

class GameFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(getcwd(HomeFolder, sizeof HomeFolder), nullptr);
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        std::error_code error;
        std::filesystem::remove_all(name, error);
        ASSERT_TRUE(std::filesystem::create_directories(std::filesystem::path(name) / "data", error)) << name;
        ASSERT_EQ(chdir(name.c_str()), 0);
        SimulateWriteFailures(0);
    }
    void TearDown() override {
        SimulateWriteFailures(0);
        ASSERT_EQ(chdir(HomeFolder), 0);
    }

    char HomeFolder[4096];
};
