// The text dialog's result and the name fragment test.
#include "shell/input_text.h"

#include "shell_fixture.h"

TEST(InputText, ResultCutToTheLimit) {
    const struct {
        const char* Name;
        int Queued;  // 0 nothing queued, 1 OK with Typed, 2 cancel
        const char* Typed;
        int Limit;
        const char* Result;
    } cases[] = {
        {"fourteen letters with limit 12 give eleven", 1, "abcdefghijklmn", 12, "abcdefghijk"},
        {"a double-byte character across the limit is left out", 1, "あいうえおかき", 12, "あいうえお"},
        {"five full-width and one half-width fit 11 bytes", 1, "あいうえおx", 12, "あいうえおx"},
        {"limit 0 is taken as 3", 1, "abcdef", 0, "ab"},
        {"a negative limit is taken as 3", 1, "abcdef", -4, "ab"},
        {"OK with an empty field", 1, "", 12, ""},
        {"cancel", 2, "", 12, ""},
        {"a dialog that gets no answer is cancelled", 0, "", 12, ""},
    };
    for (const auto& c : cases) {
        HeadlessReset();
        if (c.Queued) HeadlessQueueText(c.Typed, c.Queued == 1);
        char destination[64];
        memset(destination, 'Z', sizeof destination);
        InputText(destination, c.Limit);
        EXPECT_STREQ(destination, c.Result) << c.Name;
        EXPECT_EQ(HeadlessTextDialogCount(), 1) << c.Name;
        // Nothing is written behind the result.
        EXPECT_EQ(destination[strlen(c.Result) + 1], 'Z') << c.Name;
    }
}

TEST(InputText, EachCallStartsEmpty) {
    HeadlessReset();
    char destination[12];
    HeadlessQueueText("abc", 1);
    InputText(destination, 12);
    EXPECT_STREQ(destination, "abc");
    HeadlessQueueText("xyz", 0);
    InputText(destination, 12);
    EXPECT_STREQ(destination, "");
}

TEST(MatchText, EvenOffsetsWithinTheFirst15Bytes) {
    const struct {
        const char* Needle;
        const char* Haystack;
        int Match;
    } cases[] = {
        {"い", "あいうえお", 1},
        {"うえ", "あいうえお", 1},
        {"あ", "あいうえお", 1},
        {"お", "あいうえお", 1},
        {"か", "あいうえお", 0},
        // Offset 1 is never tried.
        {"b", "ab", 0},
        {"a", "ab", 1},
        // A 2-byte needle is found at offsets 0..12 only.
        {"き", "あいうえおかきく", 1},
        {"く", "あいうえおかきく", 0},
        // Offset 0 is always tried, however long the needle.
        {"あいうえおかきく", "あいうえおかきく", 1},
        {"いうえおかきく", "あいうえおかきく", 0},
        {"", "あいうえお", 0},
        {"", "", 0},
        {"a", "", 0},
        {"abc", "ab", 0},
        // Exact bytes: case and width differ.
        {"A", "abc", 0},
        {"ａ", "abc", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(MatchText(c.Needle, c.Haystack), c.Match) << c.Needle << " in " << c.Haystack;
}

TEST(MatchText, NeverReadsPastTheEndOfTheName) {
    // A name cell that held a longer name before: the old bytes behind the
    // terminator are not part of the name.
    char cell[32] = "ab";
    memcpy(cell + 4, "xy", 2);
    EXPECT_EQ(MatchText("xy", cell), 0);
    // A haystack of exactly its own size (no spare bytes).
    static const char shortName[] = "a";
    EXPECT_EQ(MatchText("a", shortName), 1);
    EXPECT_EQ(MatchText("aa", shortName), 0);
}
