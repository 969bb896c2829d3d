// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "CBController.h"

#include <memory>

// The listener's main interface file: creates the controller, makes it the application's
// delegate and wakes it (MIDI objects made, notifications observed).
std::unique_ptr<CBController> loadMainInterface(const ListenerServices& services);
