#pragma once

#include <functional>

// One run of a phase: wall-clock seconds and processor seconds (user and system).
struct PhaseSample
{
    double wall = 0;
    double cpu = 0;
};

// Runs a phase in this process and measures it.
PhaseSample MeasureInProcess(const std::function<void()>& phase);

// Runs a program to the end with its output thrown away, and measures it with the processor time
// of the child; peakBytes gets the largest resident memory of any child so far.
PhaseSample MeasureProgram(const char* program, const char* const* arguments, long* peakBytes = nullptr);

// Runs a phase `times` times and prints the median and best wall-clock and processor seconds, and
// the peak resident memory, on one line; on a shared machine the processor time says more than
// the wall clock, and the best run says what the code costs without the neighbours.
void PrintRepeated(const char* phase, const std::function<PhaseSample()>& once, int times = 5);
