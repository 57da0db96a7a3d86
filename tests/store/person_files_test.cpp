// The person file set as both programs use it: any folder, no window.
#include <cstring>
#include <vector>

#include "game_folder.h"
#include "store/person_files.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Six images of the person tables' sizes, every byte of image i set to fill + i.
struct ImageSet {
    std::vector<Bytes> Data;
    void* Pointers[PersonFileCount];
    explicit ImageSet(int fill) {
        for (int i = 0; i < PersonFileCount; ++i) Data.emplace_back(PersonFileBytes[i], (unsigned char)(fill + i));
        for (int i = 0; i < PersonFileCount; ++i) Pointers[i] = Data[i].data();
    }
};

class ReadPersonFilesTest : public GameFolderTest, public ::testing::WithParamInterface<int> {};

// Reads the files before the first missing one and says which one that was;
// the images from it on keep what they held.
TEST_P(ReadPersonFilesTest, StopsAtTheFirstMissingFile) {
    const int missing = GetParam();
    ASSERT_TRUE(std::filesystem::create_directory("defa"));
    ImageSet files(0x40);
    for (int n = 0; n < PersonFileCount; ++n)
        if (n != missing) WriteDataFile(n, files.Data[n], "defa");
    ImageSet images(0x10);

    files.Data[1].resize(100);  // a short file
    if (missing != 1) WriteDataFile(1, files.Data[1], "defa");
    size_t bytesRead[PersonFileCount];

    EXPECT_EQ(ReadPersonFiles("defa", images.Pointers, bytesRead), missing);

    ImageSet untouched(0x10);
    for (int n = 0; n < PersonFileCount; ++n) {
        Bytes expected = untouched.Data[n];
        if (n < missing) std::copy(files.Data[n].begin(), files.Data[n].end(), expected.begin());
        EXPECT_TRUE(images.Data[n] == expected) << "image " << n;
        EXPECT_EQ(bytesRead[n], n < missing ? files.Data[n].size() : 0) << "image " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(EachFile, ReadPersonFilesTest, ::testing::Range(0, PersonFileCount + 1));

using WritePersonFilesTest = GameFolderTest;

TEST_F(WritePersonFilesTest, SaysWhichFileFailedAndWhy) {
    ImageSet old(0x40), fresh(0x60);
    const void* const images[PersonFileCount] = {fresh.Pointers[0], fresh.Pointers[1], fresh.Pointers[2],
                                                 fresh.Pointers[3], fresh.Pointers[4], fresh.Pointers[5]};
    WriteResult reason = WriteOk;

    // No folder.
    EXPECT_EQ(WritePersonFiles("defa", images, &reason), 0);
    EXPECT_EQ(reason, WriteCannotOpen);

    // A read-only file: the ones before it are written, it and the later ones kept.
    for (int n = 0; n < PersonFileCount; ++n) WriteDataFile(n, old.Data[n]);
    ASSERT_EQ(chmod(DataFilePath(2).c_str(), 0444), 0);
    EXPECT_EQ(WritePersonFiles("data", images, &reason), 2);
    EXPECT_EQ(reason, WriteCannotOpen);
    for (int n = 0; n < PersonFileCount; ++n)
        EXPECT_TRUE(ReadDataFile(n) == (n < 2 ? fresh.Data[n] : old.Data[n])) << "data0" << n;
    ASSERT_EQ(chmod(DataFilePath(2).c_str(), 0644), 0);

    // A write that fails half way.
    SimulateWriteFailures(1);
    EXPECT_EQ(WritePersonFiles("data", images, &reason), 0);
    EXPECT_EQ(reason, WriteFailed);
    EXPECT_TRUE(ReadDataFile(0) == fresh.Data[0]);
    EXPECT_TRUE(ReadDataFile(2) == old.Data[2]);

    // All six.
    EXPECT_EQ(WritePersonFiles("data", images, nullptr), PersonFileCount);
    for (int n = 0; n < PersonFileCount; ++n) EXPECT_TRUE(ReadDataFile(n) == fresh.Data[n]) << "data0" << n;
    EXPECT_EQ(FolderEntryCount("data"), PersonFileCount);
}

TEST(PersonFilePath, RefusesIndicesOutsideTheSetAndPathsThatDoNotFit) {
    char path[32];
    EXPECT_EQ(PersonFilePath(path, sizeof path, "data", 5), 1);
    EXPECT_STREQ(path, "data\\data05.dat");
    for (int index : {-1, PersonFileCount}) {
        EXPECT_EQ(PersonFilePath(path, sizeof path, "data", index), 0);
        EXPECT_STREQ(path, "");
    }
    EXPECT_EQ(PersonFilePath(path, 15, "data", 0), 0);  // needs 16 bytes
    EXPECT_STREQ(path, "");
}

}  // namespace
