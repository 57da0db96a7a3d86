#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/host.h"

namespace {

std::string Slurp(const char* path) {
    FILE* f = fopen(path, "rb");
    if (!f) return "<missing>";
    std::string s;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    fclose(f);
    return s;
}

void Put(const char* path, const std::string& bytes) {
    FILE* f = fopen(path, "wb");
    ASSERT_NE(f, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

class HostFiles : public ::testing::Test {
protected:
    // Each test has a folder of its own: the tests of this program may run
    // at the same time in the same working directory.
    void SetUp() override {
        std::string folder = std::string("case_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_EQ(0, system(("rm -rf " + folder + " && mkdir -p " + folder + "/Data/SubDir").c_str()));
        ASSERT_EQ(0, chdir(folder.c_str()));
    }
    void TearDown() override {
        SimulateWriteFailures(0);
        chmod("Data/data04.dat", 0644);
        ASSERT_EQ(0, chdir(".."));
    }
};

TEST_F(HostFiles, GamePathsUseSlashesAndFoldLetterCase) {
    Put("Data/DATA00.dat", "x");
    char out[256];
    struct Case { const char* game; const char* host; } cases[] = {
        {"data\\data00.dat", "Data/DATA00.dat"},       // both parts differ in case
        {"Data\\SubDir\\new.dat", "Data/SubDir/new.dat"},  // a new file in an existing folder
        {"data\\subdir\\x.dat", "Data/SubDir/x.dat"},
        {"nothere\\a.dat", "nothere/a.dat"},           // nothing to fold: kept as written
        {"/tmp", "/tmp"},                              // an absolute host path keeps its root
    };
    for (const Case& c : cases) {
        ASSERT_EQ(1, ResolveGamePath(c.game, out, sizeof out)) << c.game;
        EXPECT_STREQ(c.host, out) << c.game;
    }
    char tiny[5];
    EXPECT_EQ(0, ResolveGamePath("data\\data00.dat", tiny, sizeof tiny));
}

TEST_F(HostFiles, ReadFillsOnlyWhatTheFileHolds) {
    Put("Data/short.dat", "abc");
    Put("Data/long.dat", std::string(100, 'z'));
    char target[10];
    memset(target, '-', sizeof target);
    EXPECT_EQ(3, ReadGameFile("data\\short.dat", target, sizeof target));
    EXPECT_EQ(0, memcmp(target, "abc-------", 10));
    EXPECT_EQ(10, ReadGameFile("data\\long.dat", target, sizeof target));
    EXPECT_EQ(0, memcmp(target, "zzzzzzzzzz", 10));
    EXPECT_EQ(-1, ReadGameFile("data\\missing.dat", target, sizeof target));
    EXPECT_EQ(-1, ReadGameFile("data\\subdir", target, sizeof target));  // a folder, not a file
}

TEST_F(HostFiles, WriteReplacesWholeOrNotAtAll) {
    Put("Data/data04.dat", "old contents");
    EXPECT_EQ(WriteOk, WriteGameFile("data\\data04.dat", "new", 3));
    EXPECT_EQ("new", Slurp("Data/data04.dat"));

    // A read-only file is refused, even for a privileged user.
    chmod("Data/data04.dat", 0444);
    EXPECT_EQ(WriteCannotOpen, WriteGameFile("data\\data04.dat", "again", 5));
    EXPECT_EQ("new", Slurp("Data/data04.dat"));
    chmod("Data/data04.dat", 0644);

    // A failure after opening (a full disk) leaves the old file and no debris.
    SimulateWriteFailures(1);
    std::string big(100000, 'q');
    EXPECT_EQ(WriteFailed, WriteGameFile("data\\data04.dat", big.data(), big.size()));
    EXPECT_EQ("new", Slurp("Data/data04.dat"));
    EXPECT_EQ(0, system("test $(ls Data | wc -l) -eq 2"));  // data04.dat and SubDir only

    // A folder that does not exist cannot be written into.
    EXPECT_EQ(WriteCannotOpen, WriteGameFile("nofolder\\x.dat", "a", 1));
    // A new file is created.
    EXPECT_EQ(WriteOk, WriteGameFile("data\\fresh.dat", "f", 1));
    EXPECT_EQ("f", Slurp("Data/fresh.dat"));
}

TEST(HostText, Cp932FitLengthNeverSplitsACharacter) {
    const char* text = "aあb";  // 61 82 A0 62
    struct Case { size_t max; size_t expected; } cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 4}, {9, 4}};
    for (const Case& c : cases) EXPECT_EQ(c.expected, Cp932FitLength(text, 4, c.max)) << c.max;
    // A lead byte at the very end is not a whole character.
    EXPECT_EQ(1u, Cp932FitLength("a\x82", 2, 10));
}

TEST(HostText, ConvertsBothWays) {
    char utf8[64];
    Cp932ToUtf8("終了", 4, utf8, sizeof utf8);
    EXPECT_STREQ("\xE7\xB5\x82\xE4\xBA\x86", utf8);
    char back[64];
    Utf8ToCp932(utf8, strlen(utf8), back, sizeof back);
    EXPECT_STREQ("終了", back);
    // Output that would not fit ends on a character boundary.
    char small[4];
    EXPECT_EQ(2u, Utf8ToCp932(utf8, strlen(utf8), small, sizeof small));
    EXPECT_EQ(0, memcmp(small, "終", 3));
    // Invalid input does not stop the conversion.
    Cp932ToUtf8("a\xFF" "b", 3, utf8, sizeof utf8);
    EXPECT_STREQ("a?b", utf8);
    // A character CP932 cannot hold is one '?', however many bytes it had.
    Utf8ToCp932("\xE2\x82\xAC" "a", 4, back, sizeof back);  // euro sign
    EXPECT_STREQ("?a", back);
}

}  // namespace
