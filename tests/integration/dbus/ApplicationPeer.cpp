// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// The application of the NSApplicationMain tests: application_peer <wait|terminate-when-launched|
// terminate-while-loading|signal-twice-when-launched>. Prints "launched <Qt platform>",
// "will-terminate" and "interface-destroyed" as they happen; "wait" runs until a signal ends it.
#include "Platform/Application.h"

#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <string>

namespace {

void say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

class Delegate : public Platform::ApplicationDelegate, public Platform::InterfaceObjects {
public:
    Delegate(Platform::Application& app, std::string mode) : mApp(app), mMode(std::move(mode))
    {
        mApp.setDelegate(this);
        if (mMode == "terminate-while-loading")
            mApp.terminate(this);
    }
    ~Delegate() override { say("interface-destroyed"); }

    void applicationDidFinishLaunching() override
    {
        say("launched " + QGuiApplication::platformName().toStdString());
        if (mMode == "terminate-when-launched")
            mApp.terminate(this);
        if (mMode == "signal-twice-when-launched") { // both arrive before the loop sees the first
            std::raise(SIGTERM);
            std::raise(SIGINT);
        }
    }
    void applicationWillTerminate() override { say("will-terminate"); }

private:
    Platform::Application& mApp;
    std::string mMode;
};

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "wait";
    return Platform::NSApplicationMain(
        argc, argv, [&mode](Platform::Application& app) { return std::make_unique<Delegate>(app, mode); });
}
