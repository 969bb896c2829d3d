// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

namespace TestSupport {

// The application exists only while tests run, not while the test list is read at build time.
class QtApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override { mApplication = std::make_unique<QApplication>(mArgc, mArgv); }
    void TearDown() override { mApplication.reset(); }

private:
    int mArgc = 1;
    char mName[16] = "cuebolt-tests";
    char* mArgv[2] = {mName, nullptr};
    std::unique_ptr<QApplication> mApplication;
};

} // namespace TestSupport
