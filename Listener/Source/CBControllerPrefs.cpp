// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// The mappings as the listener loads them: stored under "default mappings" in its own domain,
// the six defaults written when nothing is stored, a missing end byte 0xF7 added in memory only.
#include "CBController.h"

#include "DefaultMappings.h"

#include "Platform/Log.h"

#include <utility>

using namespace Platform;

namespace {

constexpr const char* kMappingsKey = "default mappings";

const char* typeName(const PlistValue& value)
{
    static constexpr const char* names[] = {"a string", "data", "an integer", "a real", "a boolean", "a date",
                                            "an array", "a dictionary"};
    return names[value.storage().index()];
}

// A copy of the record whose sysex ends with 0xF7. Damaged records are kept in place, so the
// records after them keep their positions, but they match nothing.
PlistValue loadedRecord(const PlistValue& stored, std::size_t index)
{
    const auto* dictionary = stored.getIf<PlistDictionary>();
    if (!dictionary) {
        NSLog("mapping " + std::to_string(index) + " is " + typeName(stored) +
              ", not a dictionary; it will match nothing");
        return stored;
    }
    PlistDictionary record = *dictionary;
    auto sysex = record.find("sysex");
    if (sysex == record.end())
        return record;
    auto* bytes = sysex->second.getIf<PlistData>();
    if (!bytes) {
        NSLog("mapping " + std::to_string(index) + " has a \"sysex\" that is " + typeName(sysex->second) +
              ", not data; it will match nothing");
        return record;
    }
    if (bytes->empty() || bytes->back() != 0xF7)
        bytes->push_back(0xF7);
    return record;
}

} // namespace

std::optional<PlistValue> CBController::prefsGetMappingsArray()
{
    const std::string domain = mListenerBundleID.value_or("");
    mServices.preferences.CFPreferencesSynchronize(domain);
    return mServices.preferences.CFPreferencesCopyValue(kMappingsKey, domain);
}

void CBController::prefsSetMappingsArray(const PlistArray& mappings)
{
    const std::string domain = mListenerBundleID.value_or("");
    mServices.preferences.CFPreferencesSetValue(kMappingsKey, PlistValue(mappings), domain);
    mServices.preferences.CFPreferencesSynchronize(domain);
}

void CBController::restoreDefaultMappings(const void*)
{
    prefsSetMappingsArray(DefaultMappings::records());
}

// The old list stays in place until the new one is whole, so the receive thread never finds none.
void CBController::loadFromPrefs()
{
    auto stored = prefsGetMappingsArray();
    if (!stored) {
        restoreDefaultMappings(this);
        stored = prefsGetMappingsArray();
    }

    auto loaded = std::make_shared<PlistArray>();
    if (stored) {
        if (const auto* records = stored->getIf<PlistArray>()) {
            for (std::size_t i = 0; i < records->size(); ++i)
                loaded->push_back(loadedRecord((*records)[i], i));
        } else {
            NSLog(std::string("the stored \"") + kMappingsKey + "\" is " + typeName(*stored) +
                  ", not an array; no message will trigger anything until the settings pane stores new mappings");
        }
    }
    replaceMappings(loaded);
    for (const auto& record : *loaded)
        NSLog(record.description());
}

CBController::MappingList CBController::mappings() const
{
    std::lock_guard lock(mMappingsMutex);
    return mMappingsArray;
}

void CBController::replaceMappings(MappingList mappings)
{
    MappingList previous; // released after the lock; a reader still walking it holds its own reference
    {
        std::lock_guard lock(mMappingsMutex);
        previous = std::exchange(mMappingsArray, std::move(mappings));
    }
}
