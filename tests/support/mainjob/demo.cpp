// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// The main job, shown: the listener on this machine's display and JACK server (private ones where
// there are none), the six default messages played into the MIDI graph, and every key press the
// stand-in "GarageBand" window received.
#include "MainJobRig.h"

#include <cstdio>
#include <iostream>

using namespace TestSupport;

namespace {

struct Function {
    const char* name;
    std::uint8_t number;
};

constexpr Function kFunctions[] = {{"go to the beginning", 1}, {"rewind", 2}, {"play / stop", 3},
                                   {"forward", 4},             {"cycle", 5},  {"record", 6}};

} // namespace

int main()
{
    try {
        MainJobRig rig({.useMachineServers = true, .privateSettings = true});
        for (const auto& server : rig.serversStarted())
            std::cout << "started " << server << "\n";
        rig.startTarget();
        std::cout << "started the stand-in GarageBand window\n";
        rig.startListener();
        if (!rig.waitForListenerStart() || !rig.waitForSenderConnection()) {
            std::cerr << "the listener did not start or did not connect to the MIDI graph\n";
            for (const auto& line : rig.listener()->lines())
                std::cerr << "  " << line << "\n";
            return 1;
        }

        int received = 0;
        for (const auto& function : kFunctions) {
            char message[32];
            std::snprintf(message, sizeof message, "F0 7D %02X F7", function.number);
            rig.sender().send({{0xF0, 0x7D, function.number, 0xF7}});
            std::cout << message << "  (" << function.name << ")\n";
            for (int event = 0; event < 2; ++event) {
                const auto key = rig.nextKeyEvent(5000);
                std::cout << "    GarageBand received: " << (key ? *key : std::string("nothing")) << "\n";
                received += key.has_value();
            }
        }
        std::cout << "\nlistener log:\n";
        for (const auto& line : rig.listener()->lines())
            std::cout << "  " << line << "\n";
        std::cout << "\n" << received << " of 12 key events received; stopping what was started\n";
        return received == 12 ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "cuebolt-demo: " << e.what() << "\n";
        return 1;
    }
}
