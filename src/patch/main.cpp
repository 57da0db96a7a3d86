// rosterpatch: run in the game's folder, without arguments. Refreshes the
// game's persons in data\data00.dat..data05.dat from defa\data00.dat..data05.dat,
// prints "終了" and waits a second so that a console window opened just for
// the tool stays readable before it closes.
#include "patch.h"

int main() { return RunUpdate(1000); }
