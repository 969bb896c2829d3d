// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers

// The built listener left alone for 60 s with the display, JACK server, session bus and the
// stand-in GarageBand running: its CPU use over that minute (utime + stime from /proc) and its
// resident memory at the start and the end.

#include "BenchReport.h"
#include "MainJobRig.h"

#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

constexpr auto kIdle = 60s;

struct ProcessSample {
    std::chrono::steady_clock::time_point at;
    double cpuSeconds = 0; // user + system
    // VmRSS and its parts; the JACK server's shared memory segment, mapped by every client, is
    // most of the shared part.
    long rssKiB = 0;
    long anonKiB = 0;
    long fileKiB = 0;
    long shmemKiB = 0;
};

void readKiB(const std::string& line, const char* key, long& into)
{
    if (line.rfind(key, 0) == 0)
        into = std::stol(line.substr(std::string(key).size()));
}

// None when the process is gone.
std::optional<ProcessSample> sample(pid_t pid)
{
    ProcessSample result{std::chrono::steady_clock::now()};
    const std::string base = "/proc/" + std::to_string(pid);
    std::ifstream statFile(base + "/stat");
    std::string stat;
    if (!std::getline(statFile, stat))
        return std::nullopt;
    // The command name may hold spaces and parentheses; the fields after it are plain numbers.
    const auto close = stat.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(stat.substr(close + 2));
    std::string skipped;
    for (int field = 3; field < 14; ++field) // state .. cmajflt
        fields >> skipped;
    unsigned long long utime = 0, stime = 0;
    if (!(fields >> utime >> stime))
        return std::nullopt;
    result.cpuSeconds = double(utime + stime) / double(sysconf(_SC_CLK_TCK));

    std::ifstream status(base + "/status");
    for (std::string line; std::getline(status, line);) {
        readKiB(line, "VmRSS:", result.rssKiB);
        readKiB(line, "RssAnon:", result.anonKiB);
        readKiB(line, "RssFile:", result.fileKiB);
        readKiB(line, "RssShmem:", result.shmemKiB);
    }
    return result;
}

} // namespace

int main()
{
    Bench::printHeader("bench_idle: the listener left alone for 60 s");
    try {
        TestSupport::MainJobRig rig;
        rig.startTarget();
        auto& listener = rig.startListener();
        if (!rig.waitForListenerStart() || !rig.waitForSenderConnection()) {
            std::fprintf(stderr, "the listener did not start or did not connect to the MIDI graph\n");
            return 1;
        }
        const auto start = sample(listener.pid());
        std::this_thread::sleep_for(kIdle);
        const auto end = sample(listener.pid());
        if (!start || !end) {
            std::fprintf(stderr, "the listener went away while idle\n");
            return 1;
        }
        const double wall = std::chrono::duration<double>(end->at - start->at).count();
        std::printf("CPU over %.1f s: %.3f s = %.2f %% of one core (%.2f s of CPU since its start)\n", wall,
                    end->cpuSeconds - start->cpuSeconds, 100.0 * (end->cpuSeconds - start->cpuSeconds) / wall,
                    end->cpuSeconds);
        for (const auto& [when, at] : {std::pair{"start", *start}, std::pair{"end", *end}})
            std::printf("VmRSS at the %-5s %6ld KiB (anonymous %ld, files %ld, shared memory %ld)\n", when,
                        at.rssKiB, at.anonKiB, at.fileKiB, at.shmemKiB);
        std::printf("%s at the end\n", Bench::loadAverage().c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_idle: %s\n", e.what());
        return 1;
    }
}
