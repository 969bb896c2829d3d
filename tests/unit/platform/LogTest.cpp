// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Log.h"
#include "CapturingLog.h"
#include "PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <regex>
#include <thread>
#include <unistd.h>

namespace {

// Points stderr at a file while it lives.
class StderrToFile {
public:
    explicit StderrToFile(const std::filesystem::path& file) : mSaved(::dup(STDERR_FILENO))
    {
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDERR_FILENO);
        ::close(fd);
    }
    ~StderrToFile()
    {
        ::dup2(mSaved, STDERR_FILENO);
        ::close(mSaved);
    }

private:
    int mSaved;
};

TEST(Log, DefaultWritesOneStampedEntryToStderr)
{
    PlatformTest::TemporaryDirectory dir;
    const auto file = dir.path() / "stderr";
    {
        StderrToFile redirect(file);
        NSLog("first line\nsecond line");
    }
    const std::regex entry(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )" +
                           std::string(program_invocation_short_name) + R"(\[)" + std::to_string(::getpid()) +
                           R"(\] first line\nsecond line\n)");
    const auto written = PlatformTest::readFile(file);
    EXPECT_TRUE(std::regex_match(written, entry)) << written;
}

TEST(Log, SinkReceivesEachLineWholeFromManyThreads)
{
    Doubles::CapturingLog log;
    constexpr int threads = 4;
    constexpr int linesEach = 200;
    std::vector<std::thread> writers;
    for (int t = 0; t < threads; ++t)
        writers.emplace_back([t] {
            for (int i = 0; i < linesEach; ++i)
                NSLog("thread " + std::to_string(t) + "\nline " + std::to_string(i));
        });
    for (auto& w : writers)
        w.join();

    const auto lines = log.lines();
    ASSERT_EQ(lines.size(), std::size_t{threads * linesEach});
    const std::regex whole(R"(thread [0-3]\nline \d+)");
    for (const auto& line : lines)
        EXPECT_TRUE(std::regex_match(line, whole)) << line;
}

TEST(Log, RemovingTheSinkRestoresStderr)
{
    PlatformTest::TemporaryDirectory dir;
    const auto file = dir.path() / "stderr";
    {
        StderrToFile redirect(file);
        {
            Doubles::CapturingLog log;
            NSLog("captured");
            EXPECT_EQ(log.lines(), std::vector<std::string>{"captured"});
        }
        NSLog("to stderr");
    }
    const auto written = PlatformTest::readFile(file);
    EXPECT_EQ(written.find("captured"), std::string::npos);
    EXPECT_NE(written.find("to stderr"), std::string::npos);
}

} // namespace
