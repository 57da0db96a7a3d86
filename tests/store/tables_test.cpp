#include <gtest/gtest.h>

#include <cstring>

#include "store/tables.h"

// The literals of this program are compiled to Shift-JIS bytes.
TEST(Charset, LiteralsAreShiftJis) {
    EXPECT_STREQ("\x81\x7C", "－");
    EXPECT_EQ(0, memcmp("表示項目(Z)", "\x95\x5C\x8E\xA6\x8D\x80\x96\xDA(Z)", 11));
    EXPECT_EQ(15u, strlen("data\\data00.dat"));
}
