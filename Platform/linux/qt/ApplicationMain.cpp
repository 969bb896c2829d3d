// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Application.h"

#include "QtApplication.h"
#include "TerminationSignals.h"

#include <QApplication>

#include <cstdlib>

namespace Platform {

namespace {

bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

// Without a display the application still runs (the listener has no windows): headless.
void chooseHeadlessPlatformWithoutDisplay()
{
    if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY") && !isSet("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

} // namespace

int NSApplicationMain(int argc, char** argv, const InterfaceLoader& loadMainInterface)
{
    chooseHeadlessPlatformWithoutDisplay();
    QApplication qtApplication(argc, argv);
    QtApplication application;
    TerminationSignals termination([&application] { application.terminate(nullptr); });
    std::unique_ptr<InterfaceObjects> interfaceObjects = loadMainInterface(application);
    const int exitCode = application.run();
    interfaceObjects.reset(); // while the Qt application still exists
    return exitCode;
}

} // namespace Platform
