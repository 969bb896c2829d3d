// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "LoadedPane.h"

#include "Platform/Log.h"

#include <dlfcn.h>

#include <exception>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

std::optional<std::string> infoString(const Platform::Bundle& bundle, const char* key)
{
    const auto& info = bundle.infoDictionary();
    const auto it = info.find(key);
    const auto* value = it == info.end() ? nullptr : it->second.getIf<std::string>();
    return value && !value->empty() ? std::optional(*value) : std::nullopt;
}

// Runs one call into the plug-in; an exception becomes the failure sentence.
std::optional<std::string> guarded(const std::string& what, const std::function<void()>& call)
{
    try {
        call();
        return std::nullopt;
    } catch (const std::exception& exception) {
        return what + " threw: " + exception.what();
    } catch (...) {
        return what + " threw an exception that is no std::exception";
    }
}

class PaneLoader {
public:
    PaneLoader(std::string path, Platform::PreferencePaneHost& host) : mPath(std::move(path)), mHost(host) {}

    PaneLoadResult load()
    {
        if (auto failure = loadSteps()) {
            const std::string sentence = "cannot load the preference pane " + mPath + ": " + *failure;
            NSLog(sentence);
            return sentence;
        }
        return std::move(mLoaded);
    }

private:
    std::optional<std::string> loadSteps()
    {
        auto bundle = Platform::Bundle::bundleWithPath(mPath);
        if (!bundle)
            return "there is no bundle directory at that path";
        std::error_code error;
        if (!fs::is_regular_file(fs::path(bundle->bundlePath()) / "Contents" / "Info.plist", error))
            return "it has no Contents/Info.plist";
        const auto principalClass = infoString(*bundle, "NSPrincipalClass");
        if (!principalClass)
            return "its Info.plist names no NSPrincipalClass";
        const auto executable = infoString(*bundle, "CFBundleExecutable");
        if (!executable || executable->find('/') != std::string::npos)
            return "its Info.plist names no CFBundleExecutable inside Contents/MacOS";

        const fs::path pluginPath = fs::path(bundle->bundlePath()) / "Contents" / "MacOS" / *executable;
        LoadedPane::PluginHandle plugin(dlopen(pluginPath.c_str(), RTLD_NOW | RTLD_LOCAL));
        if (!plugin)
            return "cannot load its plug-in (" + std::string(dlerror()) + ")";
        const std::string factoryName = "NSPrincipalClass_" + *principalClass;
        const auto factory =
            reinterpret_cast<Platform::PrincipalClassFactory>(dlsym(plugin.get(), factoryName.c_str()));
        if (!factory)
            return "its plug-in " + pluginPath.string() + " exports no " + factoryName;

        std::unique_ptr<Platform::NSPreferencePane> pane;
        if (auto failure = guarded(factoryName, [&] { pane.reset(factory(&bundle, &mHost)); }))
            return failure;
        if (!pane)
            return factoryName + " made no pane";
        QWidget* view = nullptr;
        if (auto failure = guarded("loadMainView", [&] { view = pane->loadMainView(); }))
            return failure;
        if (!view)
            return "loadMainView gave no view";
        if (auto failure = guarded("mainViewDidLoad", [&] { pane->mainViewDidLoad(); }))
            return failure;

        const std::string title =
            infoString(*bundle, "CFBundleName").value_or(fs::path(mPath).stem().string());
        mLoaded = std::make_unique<LoadedPane>(bundle->bundlePath(), title, std::move(plugin),
                                               std::move(pane), view);
        return std::nullopt;
    }

    std::string mPath;
    Platform::PreferencePaneHost& mHost;
    std::unique_ptr<LoadedPane> mLoaded;
};

} // namespace

void LoadedPane::HandleCloser::operator()(void* handle) const
{
    if (dlclose(handle) != 0)
        NSLog(std::string("cannot close a pane plug-in: ") + dlerror());
}

LoadedPane::LoadedPane(std::string bundlePath, std::string title, PluginHandle plugin,
                       std::unique_ptr<Platform::NSPreferencePane> pane, QWidget* view)
    : mBundlePath(std::move(bundlePath)), mTitle(std::move(title)), mPlugin(std::move(plugin)),
      mPane(std::move(pane)), mView(view)
{
}

LoadedPane::~LoadedPane()
{
    mPane.reset();
}

PaneLoadResult loadPreferencePane(const std::string& path, Platform::PreferencePaneHost& host)
{
    return PaneLoader(path, host).load();
}
