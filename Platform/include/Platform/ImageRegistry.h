// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <QImage>

#include <optional>
#include <string>

// The process-wide registry of named images (NSImage setName: / imageNamed:). A registered image
// stays for the life of the process. Safe from any thread.
namespace Platform::ImageRegistry {

// Registers image under name. The first image registered under a name keeps it: false, and
// nothing changes, when the name is taken or the image is null.
bool setName(const std::string& name, const QImage& image);
// The image registered under name, or none.
std::optional<QImage> imageNamed(const std::string& name);

} // namespace Platform::ImageRegistry
