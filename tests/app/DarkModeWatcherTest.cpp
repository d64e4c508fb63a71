// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DarkModeWatcher.h"

#include <QDBusVariant>
#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(DarkModeWatcher, ReadsThePortalColourSchemeWhateverItsWrapping) {
    EXPECT_EQ(DarkModeWatcher::darkFromColorScheme(QVariant(1u)), true);
    EXPECT_EQ(DarkModeWatcher::darkFromColorScheme(QVariant(2u)), false);
    // Older portals wrap the value twice.
    const QVariant once = QVariant::fromValue(QDBusVariant(QVariant(1u)));
    EXPECT_EQ(DarkModeWatcher::darkFromColorScheme(QVariant::fromValue(QDBusVariant(once))), true);
    // No preference, unknown codes and non-numbers leave the application palette in charge.
    EXPECT_EQ(DarkModeWatcher::darkFromColorScheme(QVariant(0u)), std::nullopt);
    EXPECT_EQ(DarkModeWatcher::darkFromColorScheme(QVariant(7u)), std::nullopt);
    EXPECT_EQ(DarkModeWatcher::darkFromColorScheme(QVariant(QStringLiteral("dark"))), std::nullopt);
}

} // namespace
} // namespace velmora
