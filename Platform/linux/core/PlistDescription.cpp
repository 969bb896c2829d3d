// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/PropertyList.h"

#include <charconv>
#include <cstdio>
#include <ctime>

namespace Platform {
namespace {

bool needsQuotes(const std::string& s)
{
    if (s.empty())
        return true;
    for (unsigned char c : s) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '_' || c == '.' || c == '$' || c == ':' || c == '/';
        if (!plain)
            return true;
    }
    return false;
}

void appendString(std::string& out, const std::string& s)
{
    if (!needsQuotes(s)) {
        out += s;
        return;
    }
    out += '"';
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7f) {
                char escaped[5];
                std::snprintf(escaped, sizeof escaped, "\\%03o", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

void appendData(std::string& out, const PlistData& data)
{
    static constexpr char digits[] = "0123456789abcdef";
    out += '<';
    for (std::uint8_t byte : data) {
        out += digits[byte >> 4];
        out += digits[byte & 0x0f];
    }
    out += '>';
}

void appendReal(std::string& out, double r)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, r);
    out.append(buffer, result.ptr);
}

void appendDate(std::string& out, const PlistDate& date)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(date);
    std::tm utc{};
    gmtime_r(&t, &utc);
    char buffer[40];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S +0000", &utc);
    appendString(out, buffer);
}

void appendValue(std::string& out, const PlistValue& value);

void appendArray(std::string& out, const PlistArray& array)
{
    out += '(';
    for (std::size_t i = 0; i < array.size(); ++i) {
        if (i > 0)
            out += ", ";
        appendValue(out, array[i]);
    }
    out += ')';
}

void appendDictionary(std::string& out, const PlistDictionary& dictionary)
{
    // std::map keeps the keys sorted, as the platform prints them.
    out += '{';
    for (const auto& [key, value] : dictionary) {
        appendString(out, key);
        out += " = ";
        appendValue(out, value);
        out += "; ";
    }
    out += '}';
}

void appendValue(std::string& out, const PlistValue& value)
{
    if (auto s = value.getIf<std::string>())
        appendString(out, *s);
    else if (auto d = value.getIf<PlistData>())
        appendData(out, *d);
    else if (auto i = value.getIf<std::int64_t>())
        out += std::to_string(*i);
    else if (auto r = value.getIf<double>())
        appendReal(out, *r);
    else if (auto b = value.getIf<bool>())
        out += *b ? '1' : '0';
    else if (auto date = value.getIf<PlistDate>())
        appendDate(out, *date);
    else if (auto a = value.getIf<PlistArray>())
        appendArray(out, *a);
    else if (auto dict = value.getIf<PlistDictionary>())
        appendDictionary(out, *dict);
}

} // namespace

std::string PlistValue::description() const
{
    std::string out;
    appendValue(out, *this);
    return out;
}

} // namespace Platform
