// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// A program the platform tests copy into fake bundles and start:
//   PlatformProbe bundle <out>  writes its main bundle, the bundle holding its code and the identifier
//   PlatformProbe wait          stays alive until a signal ends it
//   PlatformProbe               (as a launched application) reports stdin and session to
//                               $CUEBOLT_PROBE_REPORT
#include "Platform/Bundle.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

int reportBundles(const std::string& out)
{
    const auto main = Platform::Bundle::mainBundle();
    const auto code =
        Platform::Bundle::bundleContainingAddress(reinterpret_cast<const void*>(&reportBundles));
    std::ofstream file(out);
    file << (main ? main->bundlePath() : "-") << '\n'
         << (code ? code->bundlePath() : "-") << '\n'
         << (main ? main->bundleIdentifier().value_or("-") : "-") << '\n';
    return file ? 0 : 1;
}

int reportLaunch()
{
    const char* report = std::getenv("CUEBOLT_PROBE_REPORT");
    if (!report)
        return 1;
    std::error_code error;
    const auto stdinTarget = std::filesystem::read_symlink("/proc/self/fd/0", error);
    // Written aside and renamed, so a reader never sees half a report.
    const std::string partial = std::string(report) + ".partial";
    {
        std::ofstream file(partial);
        file << stdinTarget.string() << '\n' << ::getsid(0) << '\n';
    }
    return std::rename(partial.c_str(), report) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "bundle" && argc > 2)
        return reportBundles(argv[2]);
    if (mode == "wait") {
        for (;;)
            ::pause();
    }
    return reportLaunch();
}
