// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <stdexcept>
#include <string>

namespace Platform {

// A raised exception with a name and a reason; nothing in the system catches it.
class NSException : public std::runtime_error {
public:
    NSException(std::string name, const std::string& reason) : std::runtime_error(reason), mName(std::move(name)) {}
    const std::string& name() const { return mName; }
    std::string reason() const { return what(); }

private:
    std::string mName;
};

} // namespace Platform
