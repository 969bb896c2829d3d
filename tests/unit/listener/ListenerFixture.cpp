// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "ListenerFixture.h"

#include "NSEvent-PLXKeyCodeAdditions.h"

#include <fstream>

using namespace Platform;

void writeInfoPlist(const fs::path& bundleDir, const PlistDictionary& info)
{
    fs::create_directories(bundleDir / "Contents");
    const auto bytes = serializePropertyList(PlistValue(info), PlistFormat::Xml);
    std::ofstream(bundleDir / "Contents/Info.plist", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

fs::path makeBundle(const fs::path& bundleDir, const std::optional<std::string>& identifier, const std::string& version)
{
    PlistDictionary info{{"CFBundleVersion", version}};
    if (identifier)
        info["CFBundleIdentifier"] = *identifier;
    writeInfoPlist(bundleDir, info);
    return bundleDir;
}

void addUSLayout(Doubles::FakeKeyboardLayout& layout, std::int16_t id)
{
    using Doubles::FakeKeyboardLayout;
    layout.addLayout(id, {FakeKeyboardLayout::table({{6, 'z'}, {8, 'c'}, {15, 'r'}, {49, ' '}}),
                          FakeKeyboardLayout::table({{6, 'Z'}, {8, 'C'}, {15, 'R'}, {49, ' '}})});
    layout.select(id);
}

ListenerTest::ListenerTest()
{
    PLXKeyCodeAdditions::resetTableForTesting();
    addUSLayout(mLayout);
    mDistributed.addObserver(mPosted.get(), [posted = mPosted](const Notification& n) { posted->push_back(n); },
                             std::nullopt, std::nullopt);
}

ListenerTest::~ListenerTest() { PLXKeyCodeAdditions::resetTableForTesting(); }

fs::path ListenerTest::installInsidePane()
{
    const fs::path pane = makeBundle(mTemp.path() / "Cuebolt.prefPane", "com.example.testpane");
    return makeBundle(pane / "Contents/Resources/CueboltListener.app", kListenerID);
}

std::unique_ptr<CBController> ListenerTest::makeController(const fs::path& listenerBundle)
{
    return std::make_unique<CBController>(ListenerServices{mApplication, mPreferences, mDistributed, mWorkspace, mMIDI,
                                                           mKeys, mLayout,
                                                           Bundle::bundleWithPath(listenerBundle.native())});
}

std::unique_ptr<CBController> ListenerTest::makeAwakeController()
{
    mWorkspace.launch("GarageBand", "com.apple.garageband");
    auto controller = makeController();
    mApplication.setDelegate(controller.get());
    controller->awakeFromNib();
    mMIDI.deliverNotification();
    return controller;
}

void ListenerTest::storeMappings(const PlistValue& mappings)
{
    mPreferences.storeOnDisk("default mappings", mappings, kListenerID);
}

PlistDictionary mappingRecord(const std::string& function, PlistData sysex)
{
    return PlistDictionary{{"function", function}, {"sysex", std::move(sysex)}};
}
