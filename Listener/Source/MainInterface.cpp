// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "MainInterface.h"

std::unique_ptr<CBController> loadMainInterface(const ListenerServices& services)
{
    auto controller = std::make_unique<CBController>(services);
    services.application.setDelegate(controller.get());
    controller->awakeFromNib();
    return controller;
}
