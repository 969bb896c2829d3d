// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/AutostartLoginItems.h"

#include "DesktopEntry.h"
#include "Platform/Linux/FilePreferenceStore.h"
#include "Platform/Log.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPathKey = "Path";
constexpr const char* kAliasDataKey = "AliasData";
constexpr const char* kHideKey = "Hide";
constexpr const char* kOurPath = "X-Cuebolt-Path";
constexpr const char* kOurAliasData = "X-Cuebolt-AliasData";
constexpr const char* kOurHide = "X-Cuebolt-Hide";
constexpr std::uintmax_t kLargestEntry = 64 * 1024;

template <class T> const T* entryValue(const PlistDictionary& entry, const char* key)
{
    const auto it = entry.find(key);
    return it == entry.end() ? nullptr : it->second.getIf<T>();
}

std::string hex(const PlistData& data)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    for (auto byte : data) {
        text += digits[byte >> 4];
        text += digits[byte & 0xF];
    }
    return text;
}

std::optional<PlistData> bytesFromHex(const std::string& text)
{
    const auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    if (text.size() % 2 != 0)
        return std::nullopt;
    PlistData data;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = nibble(text[i]);
        const int low = nibble(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        data.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return data;
}

// X.app/Contents/MacOS/<CFBundleExecutable, else X> for an application bundle, else the path itself.
std::string executableOf(const std::string& path)
{
    const fs::path bundle(path);
    std::error_code error;
    if (bundle.extension() != ".app" || !fs::is_directory(bundle, error))
        return path;
    std::string name = bundle.stem().string();
    if (const auto info = readPropertyListFile(bundle / "Contents" / "Info.plist"))
        if (const auto* dictionary = info->getIf<PlistDictionary>())
            if (const auto* executable = entryValue<std::string>(*dictionary, "CFBundleExecutable");
                executable && !executable->empty())
                name = *executable;
    return (bundle / "Contents" / "MacOS" / name).string();
}

std::optional<std::string> readSmallFile(const fs::path& file)
{
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (error)
        return std::nullopt;
    if (size > kLargestEntry) {
        NSLog("ignoring the autostart entry " + file.string() + ": it is larger than 64 KiB");
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

PlistDictionary presentedEntry(const DesktopEntry::Keys& keys, const std::string& fileName,
                               const fs::path& file)
{
    PlistDictionary entry{{AutostartLoginItems::kFileKey, fileName}};
    if (const auto ours = keys.find(kOurPath); ours != keys.end()) {
        entry[kPathKey] = ours->second;
        if (const auto alias = keys.find(kOurAliasData); alias != keys.end() && !alias->second.empty()) {
            if (auto bytes = bytesFromHex(alias->second))
                entry[kAliasDataKey] = std::move(*bytes);
            else
                NSLog("the alias data in " + file.string() + " is not hexadecimal; the entry has none");
        }
        const auto hide = keys.find(kOurHide);
        entry[kHideKey] = hide != keys.end() && hide->second == "true";
    } else if (const auto exec = keys.find("Exec"); exec != keys.end()) {
        if (auto program = DesktopEntry::execProgram(exec->second))
            entry[kPathKey] = std::move(*program);
    }
    return entry;
}

bool isOurs(const PlistDictionary& entry)
{
    return entry.contains(kHideKey);
}

// The bundle's name, made safe for a file name, plus ".desktop" (with -2, -3... when taken).
std::string freshFileName(const std::string& path, const std::set<std::string>& taken)
{
    std::string stem = fs::path(path).stem().string();
    for (char& c : stem)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.')
            c = '_';
    if (stem.empty() || stem.front() == '.')
        stem = "login-item" + stem;
    std::string name = stem + ".desktop";
    for (int n = 2; taken.contains(name); ++n)
        name = stem + '-' + std::to_string(n) + ".desktop";
    return name;
}

bool writeAtomically(const fs::path& file, const std::string& contents)
{
    std::string temporary = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        NSLog("cannot write the autostart entry " + file.string() + ": no temporary file in its folder");
        return false;
    }
    const bool written =
        ::write(fd, contents.data(), contents.size()) == static_cast<ssize_t>(contents.size()) &&
        ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    ::close(fd);
    if (!written || std::rename(temporary.c_str(), file.c_str()) != 0) {
        NSLog("cannot write the autostart entry " + file.string());
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

AutostartLoginItems::AutostartLoginItems(fs::path directory) : mDirectory(std::move(directory)) {}

fs::path AutostartLoginItems::defaultDirectory()
{
    return FilePreferenceStore::defaultDirectory().parent_path() / "autostart";
}

bool AutostartLoginItems::isLoginItemsKey(const std::string& key, const std::string& domain) const
{
    if (domain == kDomain && key == kLoginItemsKey)
        return true;
    NSLog("the autostart folder holds only \"" + std::string(kLoginItemsKey) + "\" of \"" + kDomain +
          "\", not \"" + key + "\" of \"" + domain + "\"");
    return false;
}

std::map<std::string, PlistDictionary> AutostartLoginItems::presentedEntries() const
{
    std::map<std::string, PlistDictionary> entries;
    std::error_code error;
    for (fs::directory_iterator it(mDirectory, error), end; !error && it != end; it.increment(error)) {
        const fs::path& file = it->path();
        if (file.extension() != ".desktop" || !it->is_regular_file(error))
            continue;
        if (const auto text = readSmallFile(file)) {
            const std::string name = file.filename().string();
            entries.emplace(name, presentedEntry(DesktopEntry::parse(*text), name, file));
        }
    }
    return entries;
}

std::optional<PlistValue> AutostartLoginItems::CFPreferencesCopyValue(const std::string& key,
                                                                      const std::string& domain)
{
    if (!isLoginItemsKey(key, domain))
        return std::nullopt;
    std::lock_guard lock(mMutex);
    if (mPending)
        return *mPending;
    const auto entries = presentedEntries();
    if (entries.empty())
        return std::nullopt;
    PlistArray list;
    for (const auto& [name, entry] : entries)
        list.emplace_back(entry);
    return list;
}

void AutostartLoginItems::CFPreferencesSetValue(const std::string& key, std::optional<PlistValue> value,
                                                const std::string& domain)
{
    if (!isLoginItemsKey(key, domain))
        return;
    const auto* list = value ? value->getIf<PlistArray>() : nullptr;
    if (!list) {
        NSLog("refusing to replace the login items with something that is not a list: it would remove every "
              "program's autostart entry");
        return;
    }
    std::lock_guard lock(mMutex);
    mPending = *list;
}

bool AutostartLoginItems::CFPreferencesSynchronize(const std::string& domain)
{
    if (domain != kDomain)
        return false;
    std::lock_guard lock(mMutex);
    if (!mPending)
        return true;
    const bool written = writeList(*mPending);
    mPending.reset();
    return written;
}

bool AutostartLoginItems::writeList(const PlistArray& list) const
{
    std::error_code error;
    fs::create_directories(mDirectory, error);
    if (error) {
        NSLog("cannot create the autostart folder " + mDirectory.string() + ": " + error.message());
        return false;
    }
    const auto current = presentedEntries();
    std::set<std::string> kept;
    bool ok = true;
    for (const auto& value : list) {
        const auto* entry = value.getIf<PlistDictionary>();
        if (!entry) {
            NSLog("skipping a login item that is not a dictionary");
            continue;
        }
        const auto* fileName = entryValue<std::string>(*entry, kFileKey);
        const auto existing = fileName ? current.find(*fileName) : current.end();
        if (existing != current.end()) {
            kept.insert(existing->first);
            if (isOurs(existing->second) && existing->second != *entry)
                ok = writeEntry(existing->first, *entry) && ok;
            continue;
        }
        const auto* path = entryValue<std::string>(*entry, kPathKey);
        if (!path) {
            NSLog("skipping a login item without a \"Path\" string: it cannot start anything");
            continue;
        }
        std::set<std::string> taken = kept;
        for (const auto& [name, unused] : current)
            taken.insert(name);
        const std::string name = freshFileName(*path, taken);
        if (writeEntry(name, *entry))
            kept.insert(name);
        else
            ok = false;
    }
    for (const auto& [name, unused] : current) {
        if (!kept.contains(name) && !fs::remove(mDirectory / name, error) && error) {
            NSLog("cannot remove the autostart entry " + (mDirectory / name).string() + ": " +
                  error.message());
            ok = false;
        }
    }
    return ok;
}

bool AutostartLoginItems::writeEntry(const std::string& fileName, const PlistDictionary& entry) const
{
    const auto* path = entryValue<std::string>(entry, kPathKey);
    if (!path) {
        NSLog("cannot write the autostart entry " + fileName + ": its login item has no \"Path\" string");
        return false;
    }
    const auto* alias = entryValue<PlistData>(entry, kAliasDataKey);
    const auto* hide = entryValue<bool>(entry, kHideKey);
    const std::string text = DesktopEntry::serialize({
        {"Type", "Application"},
        {"Name", fs::path(*path).stem().string()},
        {"Exec", DesktopEntry::execValue(executableOf(*path))},
        {kOurPath, *path},
        {kOurAliasData, alias ? hex(*alias) : std::string()},
        {kOurHide, hide && *hide ? "true" : "false"},
    });
    return writeAtomically(mDirectory / fileName, text);
}

} // namespace Platform
