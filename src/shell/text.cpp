// Text helpers: join a text with a second text or a number.
//
// Each result is assembled in a working buffer of fixed size and only then
// copied to the destination, so the destination may be one of the inputs.
// A result that would not fit the working buffer is cut at its capacity, on
// a character boundary (a Shift-JIS lead byte is never left without its
// trail byte), instead of running past the buffer. A null text counts as
// empty; a null destination receives nothing.
#include "text.h"

#include <cstring>

namespace {

constexpr int ShortCapacity = 32;
constexpr int LongCapacity = 128;

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Appends text to the zero-terminated buffer (capacity bytes including the
// terminator) as far as it fits, stopping before a double-byte character
// that would not fit whole. Returns the new length.
int Append(char* buffer, int length, int capacity, const char* text) {
    if (!text) return length;
    for (int at = 0; text[at] != 0;) {
        unsigned char c = (unsigned char)text[at];
        int width = IsLeadByte(c) && text[at + 1] != 0 ? 2 : 1;
        if (length + width > capacity - 1) break;
        buffer[length++] = text[at++];
        if (width == 2) buffer[length++] = text[at++];
    }
    buffer[length] = 0;
    return length;
}

// Writes value in decimal, with a hyphen-minus before negative values.
void FormatDecimal(char* out, int32_t value) {
    char reversed[12];
    int count = 0;
    int64_t magnitude = value < 0 ? -(int64_t)value : (int64_t)value;
    do {
        reversed[count++] = (char)('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    int at = 0;
    if (value < 0) out[at++] = '-';
    while (count > 0) out[at++] = reversed[--count];
    out[at] = 0;
}

void Join(char* destination, const char* first, const char* second, char* work, int capacity) {
    work[0] = 0;
    int length = Append(work, 0, capacity, first);
    length = Append(work, length, capacity, second);
    if (destination) memcpy(destination, work, (size_t)length + 1);
}

void JoinNumber(char* destination, const char* text, int32_t value, char* result, char* number, int capacity) {
    result[0] = 0;
    number[0] = 0;
    int length = Append(result, 0, capacity, text);
    FormatDecimal(number, value);
    length = Append(result, length, capacity, number);
    if (destination) memcpy(destination, result, (size_t)length + 1);
}

}  // namespace

void JoinText(char* destination, const char* first, const char* second) {
    char work[ShortCapacity];
    Join(destination, first, second, work, ShortCapacity);
}

void JoinTextNumber(char* destination, const char* text, int32_t value) {
    char result[ShortCapacity];
    char number[ShortCapacity];
    JoinNumber(destination, text, value, result, number, ShortCapacity);
}

void JoinTextLong(char* destination, const char* first, const char* second) {
    char work[LongCapacity];
    Join(destination, first, second, work, LongCapacity);
}

void JoinTextNumberLong(char* destination, const char* text, int32_t value) {
    char result[LongCapacity];
    char number[LongCapacity];
    JoinNumber(destination, text, value, result, number, LongCapacity);
}
