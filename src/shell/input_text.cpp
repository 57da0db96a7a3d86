// The text dialog and the name fragment test.
#include "input_text.h"

#include <cstring>

#include "platform/host.h"
#include "platform/platform.h"

// Cleared at every call; filled only when the dialog is confirmed.
static char InputBuffer[InputTextCapacity];

void InputText(char* destination, int limit) {
    if (limit <= 0) limit = 3;
    if (limit > InputTextCapacity) limit = InputTextCapacity;
    InputBuffer[0] = 0;
    if (PlatformTextDialog(InputBuffer, limit) == 1) {
        // Whatever the dialog returned, keep it within the limit and never
        // end it in half a double-byte character.
        InputBuffer[limit - 1] = 0;
        InputBuffer[Cp932FitLength(InputBuffer, strlen(InputBuffer), (size_t)limit - 1)] = 0;
    } else {
        InputBuffer[0] = 0;
    }
    memcpy(destination, InputBuffer, strlen(InputBuffer) + 1);
}

// Offsets past 15 - n are not tried, apart from offset 0.
constexpr size_t MatchWindowBytes = 15;

int MatchText(const char* needle, const char* haystack) {
    const size_t n = strlen(needle);
    if (n == 0) return 0;
    // The haystack is never read past its terminator: a name cell may hold
    // stale bytes of a longer earlier name behind it.
    const size_t length = strnlen(haystack, MatchWindowBytes + 1);
    for (size_t offset = 0; offset == 0 || offset + n <= MatchWindowBytes; offset += 2) {
        if (offset + n > length) return 0;
        if (memcmp(haystack + offset, needle, n) == 0) return 1;
    }
    return 0;
}
