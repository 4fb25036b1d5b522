#include "RepeatedPhase.h"

#include "BenchSupport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double WallSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double ChildrenCpuSeconds(long* peakBytes)
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    if (peakBytes)
        *peakBytes = usage.ru_maxrss * 1024;
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

PhaseSample MeasureInProcess(const std::function<void()>& phase)
{
    const double wall = WallSeconds();
    const double cpu = ProcessCpuSeconds();
    phase();
    return {WallSeconds() - wall, ProcessCpuSeconds() - cpu};
}

PhaseSample MeasureProgram(const char* program, const char* const* arguments, long* peakBytes)
{
    const double wall = WallSeconds();
    const double cpu = ChildrenCpuSeconds(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        execv(program, const_cast<char* const*>(arguments));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "%s ended with status %d\n", program, status);
    return {WallSeconds() - wall, ChildrenCpuSeconds(peakBytes) - cpu};
}

void PrintRepeated(const char* phase, const std::function<PhaseSample()>& once, int times)
{
    ResetPeakResident();
    std::vector<double> walls, cpus;
    for (int run = 0; run < times; ++run) {
        const PhaseSample sample = once();
        walls.push_back(sample.wall);
        cpus.push_back(sample.cpu);
    }
    std::printf("%-46s median %7.3f s (CPU %7.3f s)  bäst %7.3f s (CPU %7.3f s)  topp RSS %6.1f MB\n", phase,
                Median(walls), Median(cpus), *std::min_element(walls.begin(), walls.end()),
                *std::min_element(cpus.begin(), cpus.end()), PeakResidentBytes() / 1048576.0);
    std::fflush(stdout);
}
