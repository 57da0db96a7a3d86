// Kinship of every pair of persons, derived once from the parent and spouse
// links after the person files are read.
#pragma once

// Fills KinshipMatrix (which must be all 0 on entry) from the PersonTable and
// makes every spouse link mutual in the PersonTable.
void DeriveKinship();
