// Placeholder until the text helpers land.
#include "text.h"

void JoinText(char* destination, const char*, const char*) { destination[0] = 0; }
void JoinTextNumber(char* destination, const char*, int32_t) { destination[0] = 0; }
void JoinTextLong(char* destination, const char*, const char*) { destination[0] = 0; }
void JoinTextNumberLong(char* destination, const char*, int32_t) { destination[0] = 0; }
