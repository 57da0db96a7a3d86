// The text helpers that compose names and game paths.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "shell/text.h"

namespace {

struct JoinCase {
    const char* Name;
    std::string First;
    std::string Second;
    std::string Short;  // JoinText
    std::string Long;   // JoinTextLong
};

class JoinTextTest : public ::testing::TestWithParam<JoinCase> {};

// The result never runs past the working buffer (31 or 127 bytes of text)
// and is never cut inside a double-byte character.
TEST_P(JoinTextTest, JoinsWithinTheWorkingBuffer) {
    const JoinCase& c = GetParam();
    char out[160];
    memset(out, 'Q', sizeof out);
    JoinText(out, c.First.c_str(), c.Second.c_str());
    EXPECT_EQ(std::string(out), c.Short);
    EXPECT_EQ(out[c.Short.size() + 1], 'Q');  // nothing written after the terminator
    memset(out, 'Q', sizeof out);
    JoinTextLong(out, c.First.c_str(), c.Second.c_str());
    EXPECT_EQ(std::string(out), c.Long);
}

const std::string Kanji = "漢";  // two bytes

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JoinTextTest,
    ::testing::Values(
        JoinCase{"BothEmpty", "", "", "", ""},
        JoinCase{"Name", "織田", "信長", "織田信長", "織田信長"},
        JoinCase{"PortraitPath", "gdata\\g00\\ky", "05a.gdat", "gdata\\g00\\ky05a.gdat", "gdata\\g00\\ky05a.gdat"},
        JoinCase{"FillsTheShortBuffer", std::string(20, 'a'), std::string(11, 'b'),
                 std::string(20, 'a') + std::string(11, 'b'), std::string(20, 'a') + std::string(11, 'b')},
        JoinCase{"CutAtTheShortBuffer", std::string(20, 'a'), std::string(20, 'b'),
                 std::string(20, 'a') + std::string(11, 'b'), std::string(20, 'a') + std::string(20, 'b')},
        JoinCase{"CutBeforeHalfACharacter", std::string(30, 'a'), Kanji, std::string(30, 'a'),
                 std::string(30, 'a') + Kanji},
        JoinCase{"CutAtTheLongBuffer", Repeat(Kanji, 40), Repeat(Kanji, 40), Repeat(Kanji, 15), Repeat(Kanji, 63)}),
    [](const ::testing::TestParamInfo<JoinCase>& info) { return info.param.Name; });

struct NumberCase {
    const char* Name;
    std::string Text;
    int32_t Value;
    std::string Short;
    std::string Long;
};

class JoinNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(JoinNumberTest, AppendsTheDecimalValue) {
    const NumberCase& c = GetParam();
    char out[160];
    JoinTextNumber(out, c.Text.c_str(), c.Value);
    EXPECT_EQ(std::string(out), c.Short);
    JoinTextNumberLong(out, c.Text.c_str(), c.Value);
    EXPECT_EQ(std::string(out), c.Long);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JoinNumberTest,
    ::testing::Values(NumberCase{"ScenarioFolder", "sdata\\sdata", 1, "sdata\\sdata1", "sdata\\sdata1"},
                      NumberCase{"Negative", "x", -12, "x-12", "x-12"},
                      NumberCase{"Zero", "", 0, "0", "0"},
                      NumberCase{"Smallest", "v", INT32_MIN, "v-2147483648", "v-2147483648"},
                      NumberCase{"Largest", "v", INT32_MAX, "v2147483647", "v2147483647"},
                      NumberCase{"CutAtTheShortBuffer", std::string(28, 'a'), 12345, std::string(28, 'a') + "123",
                                 std::string(28, 'a') + "12345"}),
    [](const ::testing::TestParamInfo<NumberCase>& info) { return info.param.Name; });

// The destination may be one of the inputs.
TEST(JoinTextAliasing, DestinationMayBeAnInput) {
    char text[128] = "織田";
    JoinText(text, text, "信長");
    EXPECT_STREQ(text, "織田信長");
    JoinText(text, "姓", text);
    EXPECT_STREQ(text, "姓織田信長");
    JoinTextNumber(text, text, 7);
    EXPECT_STREQ(text, "姓織田信長7");
    JoinTextLong(text, text, text);
    EXPECT_STREQ(text, "姓織田信長7姓織田信長7");
    JoinTextNumberLong(text, text, -1);
    EXPECT_STREQ(text, "姓織田信長7姓織田信長7-1");
}

// Null texts count as empty; a null destination receives nothing.
TEST(JoinTextNull, NullTextsAreEmpty) {
    char out[32] = "old";
    JoinText(out, nullptr, "b");
    EXPECT_STREQ(out, "b");
    JoinTextNumber(out, nullptr, 5);
    EXPECT_STREQ(out, "5");
    JoinText(nullptr, "a", "b");
    JoinTextNumberLong(nullptr, "a", 1);
}

}  // namespace
