// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "BenchReport.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <unistd.h>

namespace Bench {

Percentiles percentiles(std::vector<double>& samples)
{
    if (samples.empty())
        return {};
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double fraction) {
        return samples[std::min(samples.size() - 1, std::size_t(fraction * double(samples.size())))];
    };
    return {samples.size(), at(0.50), at(0.99), samples.back()};
}

std::string describe(const Percentiles& figures, const char* unit)
{
    char text[160];
    std::snprintf(text, sizeof text, "p50 %.1f %s  p99 %.1f %s  max %.1f %s  (n=%zu)", figures.p50, unit,
                  figures.p99, unit, figures.max, unit, figures.count);
    return text;
}

std::string loadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return "load " + one + " " + five + " " + fifteen;
}

void printHeader(const std::string& title)
{
    std::printf("== %s ==\nbuild type: %s   %s   cores: %ld\n", title.c_str(), CUEBOLT_BUILD_TYPE,
                loadAverage().c_str(), sysconf(_SC_NPROCESSORS_ONLN));
    std::fflush(stdout);
}

std::uint64_t monotonicMicroseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::uint64_t(now.tv_sec) * 1000000u + std::uint64_t(now.tv_nsec) / 1000u;
}

} // namespace Bench
