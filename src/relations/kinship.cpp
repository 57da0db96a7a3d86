// Placeholder until the derivation lands: derives nothing.
#include "kinship.h"

void DeriveKinship() {}
