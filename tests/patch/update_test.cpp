// The update run in-process (without the one-second wait): files of the
// wrong length and a failing disk.
#include <gtest/gtest.h>
#include <unistd.h>

#include "fixture.h"
#include "platform/host.h"

namespace {

// Runs the update with folder as the working directory; returns its result
// and what it printed.
int RunIn(const std::string& folder, std::string* output) {
    char previous[4096];
    if (!getcwd(previous, sizeof previous) || chdir(folder.c_str()) != 0) return -1;
    testing::internal::CaptureStdout();
    int result = RunUpdate(0);
    *output = testing::internal::GetCapturedStdout();
    if (chdir(previous) != 0) return -1;
    return result;
}

struct LengthCase {
    const char* Folder;
    bool Default;  // which set's file is cut or extended
    int File;
    long Bytes;    // the file's length
};

// A short file fills the start of its table and leaves the rest zero; a long
// one is read up to the table's size. The refreshed user file is always the
// table's full size.
TEST(UpdateRun, FilesOfTheWrongLengthAreReadUpToTheirTable) {
    const LengthCase cases[] = {
        {"short_user_surnames", false, 1, 100 * NameCellBytes + 5},   // ends inside cell 100
        {"empty_user_items", false, 4, 0},
        {"long_user_affinity", false, 5, 16032016 + 7},
        {"short_default_persons", true, 0, 700 * PersonFields * 4 + 30},  // ends inside BirthYear of 700
        {"short_default_affinity", true, 5, 16032016 / 2 + 3},
    };
    const GameFolder fixture = FixtureFolder();
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(c.Folder);
        GameFolder content = fixture;
        std::string& image = c.Default ? content.Defaults[c.File] : content.User[c.File];
        if ((size_t)c.Bytes < image.size())
            image.resize((size_t)c.Bytes);
        else
            image.append((size_t)c.Bytes - image.size(), '\x5A');
        WriteGameFolder(c.Folder, content);

        std::string output;
        EXPECT_EQ(RunIn(c.Folder, &output), PatchDone);
        EXPECT_EQ(output, Lines({u8"終了"}));
        for (int file = 0; file < PersonFileCount; ++file) {
            char path[64];
            snprintf(path, sizeof path, "%s/data/data%02d.dat", c.Folder, file);
            EXPECT_EQ(CheckRefreshed(file, content.Defaults[0], content.Defaults[file], content.User[file],
                                     ReadWholeFile(path)),
                      "")
                << "data" << file;
        }
    }
}

// A write that fails part way (a full disk) leaves the file as it was, stops
// the writing and is reported; the exit code says so.
TEST(UpdateRun, FailedWriteLeavesTheFileAndStops) {
    GameFolder content;
    for (int file = 0; file < PersonFileCount; ++file) {
        content.Defaults[file] = std::string(64, (char)('a' + file));
        content.User[file] = std::string(64, (char)('A' + file));
    }
    WriteGameFolder("disk_full", content);
    const auto before = Snapshot("disk_full");

    SimulateWriteFailures(1);
    std::string output;
    EXPECT_EQ(RunIn("disk_full", &output), PatchWriteStopped);
    SimulateWriteFailures(0);

    EXPECT_EQ(output, Lines({u8"data data00の書き込みに失敗したため、data00以降のファイルは元のままです", u8"終了"}));
    EXPECT_EQ(Snapshot("disk_full"), before);  // no file changed, no temporary file left
}

}  // namespace
