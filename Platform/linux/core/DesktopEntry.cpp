// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "DesktopEntry.h"

namespace Platform::DesktopEntry {
namespace {

constexpr std::string_view kGroup = "[Desktop Entry]";
constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";

std::string unescape(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            out += '\\', out += value[i];
            break;
        }
    }
    return out;
}

std::string escape(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        switch (value[i]) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case ' ':
            out += i == 0 ? "\\s" : " ";
            break; // a leading space would be trimmed
        default:
            out += value[i];
            break;
        }
    }
    return out;
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

} // namespace

Keys parse(std::string_view text)
{
    Keys keys;
    bool inGroup = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inGroup = line == kGroup;
            continue;
        }
        const auto equals = line.find('=');
        if (!inGroup || equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        if (key.find('[') != std::string_view::npos)
            continue;
        keys.try_emplace(std::string(key), unescape(trimmed(line.substr(equals + 1))));
    }
    return keys;
}

std::string serialize(std::initializer_list<std::pair<const char*, std::string>> keys)
{
    std::string text(kGroup);
    text += '\n';
    for (const auto& [key, value] : keys)
        text += std::string(key) + '=' + escape(value) + '\n';
    return text;
}

std::optional<std::string> execProgram(const std::string& exec)
{
    std::string program;
    std::size_t i = 0;
    while (i < exec.size() && (exec[i] == ' ' || exec[i] == '\t'))
        ++i;
    if (i < exec.size() && exec[i] == '"') {
        for (++i; i < exec.size() && exec[i] != '"'; ++i) {
            if ((exec[i] == '\\' && i + 1 < exec.size()) ||
                (exec[i] == '%' && i + 1 < exec.size() && exec[i + 1] == '%'))
                ++i;
            program += exec[i];
        }
    } else {
        for (; i < exec.size() && exec[i] != ' ' && exec[i] != '\t'; ++i) {
            if (exec[i] == '%' && i + 1 < exec.size() && exec[i + 1] == '%')
                ++i;
            program += exec[i];
        }
    }
    if (program.empty())
        return std::nullopt;
    return program;
}

std::string execValue(const std::string& program)
{
    std::string value;
    const bool quote = program.find_first_of(kReservedInExec) != std::string::npos;
    if (quote)
        value += '"';
    for (char c : program) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            value += '\\';
        value += c;
        if (c == '%')
            value += '%';
    }
    if (quote)
        value += '"';
    return value;
}

} // namespace Platform::DesktopEntry
