#include "BenchSupport.h"

#include <ctime>
#include <fstream>
#include <string>

namespace {
std::size_t statusValue(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, key.size(), key) == 0)
            return std::stoul(line.substr(key.size())) * 1024;
    }
    return 0;
}
} // namespace

std::size_t PeakResidentBytes()
{
    return statusValue("VmHWM:");
}

std::size_t CurrentResidentBytes()
{
    return statusValue("VmRSS:");
}

void ResetPeakResident()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}
