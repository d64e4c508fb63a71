// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AuxiliaryWindows.h"

#include <QApplication>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>

namespace velmora {
namespace {

// The windows' icon comes from the hicolor sizes beside the resources directory, which the build
// tree lays out as an installed prefix does.
TEST(ApplicationIconTest, WindowsCarryVelmorasIconInEveryInstalledSize) {
    ::setenv("VELMORA_RESOURCES_DIR", VELMORA_TEST_RESOURCES_DIR, 1);
    const QIcon icon = applicationIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (const int side : {16, 24, 32, 48, 64, 128}) {
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    }
    QApplication::setWindowIcon(icon);
    QWidget window;
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.windowIcon().availableSizes(), sizes);

    // A resources directory named with a trailing slash finds the same icons.
    ::setenv("VELMORA_RESOURCES_DIR", VELMORA_TEST_RESOURCES_DIR "/", 1);
    EXPECT_EQ(applicationIcon().availableSizes(), sizes);
    ::unsetenv("VELMORA_RESOURCES_DIR");
}

} // namespace
} // namespace velmora
