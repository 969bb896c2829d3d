// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

// The fixed wire format of distributed notifications; scripts and other programs rely on it.
namespace Platform::DBusNotificationWire {

inline constexpr const char* path = "/com/plexwerk/DistributedNotificationCenter";
inline constexpr const char* interface = "com.plexwerk.DistributedNotificationCenter";
inline constexpr const char* member = "Notification";

} // namespace Platform::DBusNotificationWire
