// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/ImageRegistry.h"

#include <map>
#include <mutex>

namespace Platform::ImageRegistry {
namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, QImage> images; // guarded by mutex
};

// Never destroyed: registered images outlive every static destructor that might still ask for them.
Registry& registry()
{
    static auto* instance = new Registry;
    return *instance;
}

} // namespace

bool setName(const std::string& name, const QImage& image)
{
    if (image.isNull())
        return false;
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    return r.images.try_emplace(name, image).second;
}

std::optional<QImage> imageNamed(const std::string& name)
{
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    const auto it = r.images.find(name);
    if (it == r.images.end())
        return std::nullopt;
    return it->second;
}

} // namespace Platform::ImageRegistry
