// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/FilePreferenceStore.h"
#include "PreferencesTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace Platform;
using namespace PreferencesTest;

namespace {

const std::string domain = "com.plexwerk.cuebolt";
constexpr std::size_t blobSize = 64 * 1024;

// CUEBOLT_KILL_LOOPS=1000 is the longer run.
int killLoops()
{
    const char* value = std::getenv("CUEBOLT_KILL_LOOPS");
    return value ? std::max(1, std::atoi(value)) : 200;
}

// Every write stores a blob whose bytes follow from the sequence number stored with it, so a
// half-applied write shows.
PlistData blobFor(std::int64_t sequence)
{
    return PlistData(blobSize, sequence % 2 ? 0xa5 : 0x5a);
}

// The forked writer: announces its first completed write, then writes until it is killed.
[[noreturn]] void writeUntilKilled(const fs::path& directory, int readyFd)
{
    FilePreferenceStore store(directory);
    const auto stored = store.CFPreferencesCopyValue("seq", domain);
    std::int64_t sequence = stored && stored->is<std::int64_t>() ? *stored->getIf<std::int64_t>() : 0;
    for (bool announced = false;; announced = true) {
        ++sequence;
        store.CFPreferencesSetValue("blob", blobFor(sequence), domain);
        store.CFPreferencesSetValue("seq", sequence, domain);
        if (!store.CFPreferencesSynchronize(domain))
            ::_exit(1);
        if (!announced && ::write(readyFd, "r", 1) != 1)
            ::_exit(1);
    }
}

bool waitForByte(int fd)
{
    pollfd p{fd, POLLIN, 0};
    char c = 0;
    return ::poll(&p, 1, 5000) == 1 && ::read(fd, &c, 1) == 1;
}

TEST(PreferenceCrashSafety, AKilledWriterLeavesTheOldOrTheNewFile)
{
    TemporaryDirectory root;
    const auto directory = root.path() / "preferences";
    const auto file = directory / (domain + ".plist");
    const std::set<std::string> allowed = {domain + ".plist", domain + ".plist.lock", domain + ".plist.tmp"};

    std::random_device seeder;
    const auto seed = seeder();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> killDelayMicroseconds(0, 3000);
    SCOPED_TRACE("seed " + std::to_string(seed));

    const int loops = killLoops();
    int killedMidWrite = 0;
    std::int64_t lastSequence = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int loop = 0; loop < loops; ++loop) {
        int ready[2];
        ASSERT_EQ(::pipe2(ready, O_CLOEXEC), 0);
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            ::close(ready[0]);
            writeUntilKilled(directory, ready[1]);
        }
        ::close(ready[1]);
        const bool started = waitForByte(ready[0]);
        ::close(ready[0]);
        // A random moment inside the writer's loop of writes.
        std::this_thread::sleep_for(std::chrono::microseconds(killDelayMicroseconds(random)));
        ::kill(writer, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);
        ASSERT_TRUE(started) << "loop " << loop << ": the writer never completed a write";
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "loop " << loop << ": the writer failed";

        const auto contents = readPropertyListFile(file);
        ASSERT_TRUE(contents && contents->is<PlistDictionary>())
            << "loop " << loop << ": unreadable after the kill";
        const auto& dictionary = *contents->getIf<PlistDictionary>();
        const auto* sequence = dictionary.at("seq").getIf<std::int64_t>();
        ASSERT_TRUE(sequence) << "loop " << loop;
        ASSERT_GE(*sequence, lastSequence) << "loop " << loop << ": a completed write was lost";
        ASSERT_EQ(dictionary.at("blob"), PlistValue(blobFor(*sequence)))
            << "loop " << loop << ": mixed contents";
        lastSequence = *sequence;

        const auto names = fileNames(directory);
        for (const auto& name : names)
            ASSERT_TRUE(allowed.count(name)) << "loop " << loop << ": stray file " << name;
        killedMidWrite += names.count(domain + ".plist.tmp") ? 1 : 0;
    }
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << loops << " writers killed in " << seconds << " s, " << killedMidWrite
              << " of them while writing the temp file; last sequence " << lastSequence << '\n';

    FilePreferenceStore store(directory);
    store.CFPreferencesSetValue("seq", lastSequence + 1, domain);
    ASSERT_TRUE(store.CFPreferencesSynchronize(domain));
    EXPECT_EQ(fileNames(directory), (std::set<std::string>{domain + ".plist", domain + ".plist.lock"}));
    EXPECT_EQ(permissions(file), fs::perms::owner_read | fs::perms::owner_write);
}

} // namespace
