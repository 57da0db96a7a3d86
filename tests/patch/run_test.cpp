// The real rosterpatch program on generated game folders. Each run waits its
// second before exiting, so runs that do not depend on each other are
// started together.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "fixture.h"

namespace {

// Starts rosterpatch in folder, its output going to folder + ".out" (outside
// the folder, which the tool must be alone in changing). Returns the process.
pid_t StartTool(const std::string& folder) {
    const std::string output = folder + ".out";
    pid_t child = fork();
    if (child == 0) {
        int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || dup2(fd, 1) < 0 || chdir(folder.c_str()) != 0) _exit(127);
        execl(ROSTERPATCH_PATH, "rosterpatch", (char*)nullptr);
        _exit(127);
    }
    return child;
}

int WaitTool(pid_t child) {
    int status = 0;
    if (child <= 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

std::string UserFile(const std::string& folder, int file) {
    char name[32];
    snprintf(name, sizeof name, "/data/data%02d.dat", file);
    return folder + name;
}

enum Source { FromDefault, FromUser };

// Bytes [firstByte, endByte) of rows [firstRow, endRow) of one file.
struct Region {
    const char* What;
    int File;
    int FirstRow, EndRow;
    int FirstByte, EndByte;
    Source Expected;
};

constexpr int AllBytes = -1;

// All twelve files present: game slots with a present default are refreshed,
// everything else is the user's; only "終了" is printed; a second run with the
// same defaults changes nothing.
TEST(RosterPatch, RefreshesGameSlotsAndKeepsTheUsersData) {
    const GameFolder content = FixtureFolder();
    WriteGameFolder("complete", content);

    ASSERT_EQ(WaitTool(StartTool("complete")), 0);
    EXPECT_EQ(ReadWholeFile("complete.out"), Lines({u8"終了"}));
    std::string after[PersonFileCount];
    for (int file = 0; file < PersonFileCount; ++file) after[file] = ReadWholeFile(UserFile("complete", file));

    const Region regions[] = {
        {"slot 12 fields 0..99", 0, 12, 13, 0, 400, FromDefault},
        {"slot 12 spare fields 100, 101", 0, 12, 13, 400, 408, FromUser},
        {"slot 12 surname and terminator", 1, 12, 13, 0, 7, FromDefault},
        {"slot 12 user's bytes after the default surname", 1, 12, 13, 7, 32, FromUser},
        {"slot 12 given name and terminator", 2, 12, 13, 0, 6, FromDefault},
        {"slot 12 skills 0..19", 3, 12, 13, 0, 80, FromDefault},
        {"slot 12 spare skills 20, 21", 3, 12, 13, 80, 88, FromUser},
        {"slot 12 items 0..9", 4, 12, 13, 0, 40, FromDefault},
        {"slot 12 spare items 10, 11", 4, 12, 13, 40, 48, FromUser},
        {"slot 12 affinity toward game persons", 5, 12, 13, 0, 1400 * 4, FromDefault},
        {"slot 12 affinity toward user persons", 5, 12, 13, 1400 * 4, AllBytes, FromUser},
        {"slot 1399 surname without terminator", 1, 1399, 1400, 0, 32, FromDefault},
        {"slot 1399 fields 0..99", 0, 1399, 1400, 0, 400, FromDefault},
        {"game persons' affinity toward user person 1400", 5, 0, 1400, 1400 * 4, 1401 * 4, FromUser},
    };
    std::vector<Region> checks(std::begin(regions), std::end(regions));
    // Slots whose default is not present (BirthYear 0 or negative) and the
    // first user person are the user's in every table.
    for (int file = 0; file < PersonFileCount; ++file) {
        checks.push_back({"slot 0 (default BirthYear 0)", file, 0, 1, 0, AllBytes, FromUser});
        checks.push_back({"slot 20 (default BirthYear 0)", file, 20, 21, 0, AllBytes, FromUser});
        checks.push_back({"slot 21 (default BirthYear negative)", file, 21, 22, 0, AllBytes, FromUser});
        checks.push_back({"user person 1400", file, 1400, 1401, 0, AllBytes, FromUser});
    }
    for (const Region& region : checks) {
        const size_t rowBytes = PersonFiles[region.File].Bytes / PersonRows;
        const size_t end = region.EndByte == AllBytes ? rowBytes : (size_t)region.EndByte;
        const std::string& expected =
            region.Expected == FromDefault ? content.Defaults[region.File] : content.User[region.File];
        for (int row = region.FirstRow; row < region.EndRow; ++row) {
            const size_t at = row * rowBytes + region.FirstByte;
            if (after[region.File].compare(at, end - region.FirstByte, expected, at, end - region.FirstByte) != 0) {
                ADD_FAILURE() << region.What << ": data0" << region.File << " row " << row;
                break;
            }
        }
    }
    // The 6-byte default surname and its terminator over the 12-byte user
    // surname, then the user's bytes 7 to 12: the rest of the old surname
    // (from the second byte of its fourth character) and its terminator.
    EXPECT_EQ(after[1].substr(12 * 32, 13), std::string("佐々木") + '\0' + std::string("長宗我部元親").substr(7) + '\0');

    for (int file = 0; file < PersonFileCount; ++file)
        EXPECT_EQ(CheckRefreshed(file, content.Defaults[0], content.Defaults[file], content.User[file], after[file]),
                  "")
            << "data0" << file;

    const auto once = Snapshot("complete");
    ASSERT_EQ(WaitTool(StartTool("complete")), 0);
    EXPECT_TRUE(Snapshot("complete") == once) << "a second run changed the files";
}

struct MissingCase {
    const char* Folder;
    int MissingDefault;  // -1: none
    int MissingUser;     // -1: none
    const char* Messages[2];
    bool AsFolder = false;  // a folder stands where the missing user file would be
};

// Any file that cannot be read (missing, or a folder in its place): its
// message, every other missing file's message in the same order, a line that
// nothing was changed, "終了", no file touched and a non-zero exit code.
TEST(RosterPatch, MissingFileChangesNothing) {
    const MissingCase cases[] = {
        {"missing_defa00", 0, -1, {u8"defa data00がありません"}},
        {"missing_defa01", 1, -1, {u8"defa data01がありません"}},
        {"missing_defa02", 2, -1, {u8"defa data02がありません"}},
        {"missing_defa03", 3, -1, {u8"defa data03がありません"}},
        {"missing_defa04", 4, -1, {u8"defa data04がありません"}},
        {"missing_defa05", 5, -1, {u8"defa data05がありません"}},
        {"missing_data00", -1, 0, {u8"data data00がありません"}},
        {"missing_data01", -1, 1, {u8"data data01がありません"}},
        {"missing_data02", -1, 2, {u8"data data02がありません"}},
        {"missing_data03", -1, 3, {u8"data data03がありません"}},
        {"missing_data04", -1, 4, {u8"data data04がありません"}},
        {"missing_data05", -1, 5, {u8"data data05がありません"}},
        {"missing_two", 4, 1, {u8"defa data04がありません", u8"data data01がありません"}},
        {"folder_data03", -1, 3, {u8"data data03がありません"}, true},
    };
    constexpr int count = sizeof cases / sizeof cases[0];
    // Short files are enough here: whatever the tool wrote would differ.
    std::map<std::string, std::string> before[count];
    pid_t runs[count];
    for (int i = 0; i < count; ++i) {
        GameFolder content;
        for (int file = 0; file < PersonFileCount; ++file) {
            content.Defaults[file] = std::string(40 + file, (char)('a' + file));
            content.User[file] = std::string(40 + file, (char)('A' + file));
        }
        if (cases[i].MissingDefault >= 0) content.DefaultMissing[cases[i].MissingDefault] = true;
        if (cases[i].MissingUser >= 0) content.UserMissing[cases[i].MissingUser] = true;
        WriteGameFolder(cases[i].Folder, content);
        if (cases[i].AsFolder) mkdir(UserFile(cases[i].Folder, cases[i].MissingUser).c_str(), 0755);
        before[i] = Snapshot(cases[i].Folder);
    }
    for (int i = 0; i < count; ++i) runs[i] = StartTool(cases[i].Folder);
    for (int i = 0; i < count; ++i) {
        const MissingCase& c = cases[i];
        SCOPED_TRACE(c.Folder);
        EXPECT_EQ(WaitTool(runs[i]), 1);
        std::string expected;
        for (const char* message : c.Messages)
            if (message) expected += Lines({message});
        expected += Lines({u8"ファイルが足りないため、何も変更していません", u8"終了"});
        EXPECT_EQ(ReadWholeFile(std::string(c.Folder) + ".out"), expected);
        EXPECT_TRUE(Snapshot(c.Folder) == before[i]) << "files changed";
    }
}

// A user file that cannot be opened for writing stops the writing there: the
// files before it are refreshed, it and the later ones keep their contents.
TEST(RosterPatch, ReadOnlyUserFileStopsTheWriting) {
    const GameFolder content = FixtureFolder();
    WriteGameFolder("read_only", content);
    ASSERT_EQ(chmod(UserFile("read_only", 3).c_str(), 0444), 0);

    const int exitCode = WaitTool(StartTool("read_only"));
    chmod(UserFile("read_only", 3).c_str(), 0644);

    EXPECT_EQ(exitCode, 2);
    EXPECT_EQ(ReadWholeFile("read_only.out"),
              Lines({u8"data data03がありません", u8"data data03に書き込めないため、data03以降のファイルは元のままです",
                     u8"終了"}));
    for (int file = 0; file < 3; ++file)
        EXPECT_EQ(CheckRefreshed(file, content.Defaults[0], content.Defaults[file], content.User[file],
                                 ReadWholeFile(UserFile("read_only", file))),
                  "")
            << "data0" << file;
    for (int file = 3; file < PersonFileCount; ++file)
        EXPECT_TRUE(ReadWholeFile(UserFile("read_only", file)) == content.User[file]) << "data0" << file;
    EXPECT_EQ(Snapshot("read_only").size(), 2u + 2 * PersonFileCount);  // no temporary file left
}

}  // namespace
