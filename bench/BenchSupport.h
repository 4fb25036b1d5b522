#pragma once

#include <cstddef>

// Peak resident memory of this process so far, in bytes (VmHWM).
std::size_t PeakResidentBytes();
// Current resident memory, in bytes (VmRSS).
std::size_t CurrentResidentBytes();
// Resets the peak to the current value, so the next phase can be measured on its own.
void ResetPeakResident();
