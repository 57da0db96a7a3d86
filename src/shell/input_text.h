// Text typed into the modal "入力" dialog, and the fragment test the person
// search uses on names.
#pragma once

// Shows the dialog over the main window and waits until it is closed. The
// destination receives the typed text, at most limit - 1 bytes (cut on a
// character boundary) and a terminator, or the empty string when the dialog
// was cancelled or could not be shown. A limit of 0 or less is taken as 3,
// one above InputTextCapacity as InputTextCapacity. The destination must hold
// limit bytes.
void InputText(char* destination, int limit);
constexpr int InputTextCapacity = 256;

// 1 when the needle occurs in the haystack starting at an even byte offset
// and lying wholly within the first 15 bytes (offset 0 is always tried), else
// 0. An empty needle matches nothing. Bytes are compared exactly.
int MatchText(const char* needle, const char* haystack);
