#pragma once

#include <cstddef>

// Processor time this process has used, in seconds: on a shared machine it says more than the
// wall clock.
double ProcessCpuSeconds();

// Peak resident memory of this process so far, in bytes (VmHWM).
std::size_t PeakResidentBytes();
// Current resident memory, in bytes (VmRSS).
std::size_t CurrentResidentBytes();
// Resets the peak to the current value, so the next phase can be measured on its own.
void ResetPeakResident();
