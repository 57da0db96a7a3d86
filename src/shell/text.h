// Text helpers that compose a display string or a game path from a text and a
// second text or a number. Text is CP932, measured in bytes. The result is
// assembled in a working buffer first, so the destination may be one of the
// inputs. The short forms hold at most 31 bytes of result, the long forms 127;
// the destination must hold the result.
#pragma once

#include <cstdint>

void JoinText(char* destination, const char* first, const char* second);
void JoinTextNumber(char* destination, const char* text, int32_t value);
void JoinTextLong(char* destination, const char* first, const char* second);
void JoinTextNumberLong(char* destination, const char* text, int32_t value);
