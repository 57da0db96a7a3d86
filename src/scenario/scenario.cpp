// Placeholder until the scenario application lands.
#include "scenario.h"

void ApplyToScenario() {}
