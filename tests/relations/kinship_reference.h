// A plain, unhurried derivation of the kinship matrix, written to follow the
// rules step by step: every pair is searched, every row is scanned. It is the
// yardstick the fast DeriveKinship is compared against.
#pragma once

// Same contract as DeriveKinship: KinshipMatrix must be all 0 on entry; fills
// it from the PersonTable and makes spouse claims mutual in the PersonTable.
void DeriveKinshipReference();
