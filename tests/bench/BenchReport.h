// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

// What every benchmark program prints around its figures: which build it is and how busy the
// machine was, and latency samples summed up as percentiles.

#include <cstdint>
#include <string>
#include <vector>

namespace Bench {

struct Percentiles {
    std::size_t count = 0;
    double p50 = 0;
    double p99 = 0;
    double max = 0;
};

// Sorts the samples in place; all zero when there are none.
Percentiles percentiles(std::vector<double>& samples);
// "p50 12.3 us  p99 45.6 us  max 78.9 us  (n=1000)"
std::string describe(const Percentiles& figures, const char* unit = "us");

// The program's title, the build type and the load average.
void printHeader(const std::string& title);
// The load average right now ("load 1.23 0.98 0.75").
std::string loadAverage();

std::uint64_t monotonicMicroseconds();

} // namespace Bench
