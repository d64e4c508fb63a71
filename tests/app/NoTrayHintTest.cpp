// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/NoTrayHint.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(NoTrayHintTest, EachDesktopIsToldWhatGivesItATray) {
    // GNOME has no tray at all: the extension and the package that brings it are named.
    const std::string gnome = noTrayHint("GNOME");
    EXPECT_NE(gnome.find("AppIndicator extension"), std::string::npos) << gnome;
    EXPECT_NE(gnome.find("gnome-shell-extension-appindicator"), std::string::npos) << gnome;
    // Distributions put their own name first; the first known name wins, in any case.
    EXPECT_EQ(noTrayHint("ubuntu:GNOME"), gnome);
    EXPECT_EQ(noTrayHint("gnome-classic:gnome"), gnome);
    EXPECT_NE(noTrayHint("KDE").find("System Tray"), std::string::npos);
    EXPECT_NE(noTrayHint("XFCE").find("Status Tray Plugin"), std::string::npos);
    EXPECT_NE(noTrayHint("X-Cinnamon").find("XApp Status Applet"), std::string::npos);
    EXPECT_NE(noTrayHint("MATE").find("Notification Area"), std::string::npos);
    EXPECT_NE(noTrayHint("LXQt").find("Status Notifier"), std::string::npos);
    EXPECT_NE(noTrayHint("sway").find("waybar"), std::string::npos);
}

TEST(NoTrayHintTest, AnUnknownOrMissingDesktopGetsTheGeneralHint) {
    const std::string general = noTrayHint("");
    EXPECT_NE(general.find("StatusNotifierItem"), std::string::npos) << general;
    EXPECT_EQ(noTrayHint("weston"), general);
    EXPECT_EQ(noTrayHint(":::"), general);
    EXPECT_EQ(noTrayHint("Unity7:"), general);
    EXPECT_NE(noTrayHint("weston:KDE"), general);
}

} // namespace
} // namespace velmora
