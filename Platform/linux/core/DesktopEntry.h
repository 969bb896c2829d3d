// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

// The "[Desktop Entry]" group of a freedesktop .desktop file: its keys with their string values
// unescaped (\s \n \t \r \\). Other groups, comments and localised keys are not kept.
namespace Platform::DesktopEntry {

using Keys = std::map<std::string, std::string>;

Keys parse(std::string_view text);
// "[Desktop Entry]" followed by one escaped key=value line per key, in the order given.
std::string serialize(std::initializer_list<std::pair<const char*, std::string>> keys);

// The program an Exec value starts: its first argument, with quoting and %% undone.
std::optional<std::string> execProgram(const std::string& exec);
// An Exec value that starts program with no arguments, quoted where the format asks for it.
std::string execValue(const std::string& program);

} // namespace Platform::DesktopEntry
