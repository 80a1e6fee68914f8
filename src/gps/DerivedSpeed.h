#pragma once
// Speeds for fixes whose file gave none (GPX points without <speed>, RMC
// sentences with an empty speed field): the distance to the neighbouring fix
// over the time between them.
#include <vector>

#include "gps/GpsFix.h"

namespace vantrel {

// Fills the speed of every fix marked kFixSpeedDerived from the fix before it
// (or, for the first, the fix after it) when both carry UTC times 0 to 60 s
// apart; otherwise its speed stays 0.
void deriveMissingSpeeds(std::vector<GpsFix>& fixes);

}  // namespace vantrel
