// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/ImageRegistry.h"

#include <gtest/gtest.h>

using namespace Platform;

namespace {

QImage filled(Qt::GlobalColor color)
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

TEST(ImageRegistryTest, FirstImageRegisteredUnderANameKeepsIt)
{
    EXPECT_EQ(ImageRegistry::imageNamed("registry-test"), std::nullopt);
    EXPECT_FALSE(ImageRegistry::setName("registry-test", QImage()));
    EXPECT_EQ(ImageRegistry::imageNamed("registry-test"), std::nullopt);

    EXPECT_TRUE(ImageRegistry::setName("registry-test", filled(Qt::red)));
    EXPECT_FALSE(ImageRegistry::setName("registry-test", filled(Qt::blue)));

    EXPECT_EQ(ImageRegistry::imageNamed("registry-test"), filled(Qt::red));
}

} // namespace
