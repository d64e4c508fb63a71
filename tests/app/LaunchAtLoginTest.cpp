// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LaunchAtLogin.h"

#include "tests/support/FileText.h"
#include "tests/support/TemporaryDirectory.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

using namespace velmora;

namespace {

using velmora::testing::readFile;
using velmora::testing::TemporaryDirectory;

constexpr const char* approvalText =
    "Velmora is queued for launch at login, but the desktop still needs approval.";

} // namespace

TEST(LaunchAtLogin, WithoutAnEntryNothingCanBeConfigured) {
    LaunchAtLogin buildTree(std::nullopt, false);
    EXPECT_FALSE(buildTree.canConfigure());
    EXPECT_FALSE(buildTree.isEnabled());
    EXPECT_EQ(buildTree.statusText(),
              "Launch at login is only available from an installed copy of Velmora.");
    buildTree.setEnabled(true);
    EXPECT_FALSE(buildTree.isEnabled());
    EXPECT_FALSE(buildTree.errorText());
    EXPECT_EQ(LaunchAtLogin(std::nullopt, true).statusText(),
              "This install cannot register launch-at-login right now.");
}

TEST(LaunchAtLogin, WritesDeletesAndReadsTheDesktopsSwitch) {
    TemporaryDirectory home;
    const auto path = XdgAutostartEntry::defaultPath({{"XDG_CONFIG_HOME", home.path()}});
    EXPECT_EQ(path, home.path() / "autostart" / "velmora.desktop");
    EXPECT_EQ(
        XdgAutostartEntry::defaultPath({{"XDG_CONFIG_HOME", "relative"}, {"HOME", "/home/me"}}),
        "/home/me/.config/autostart/velmora.desktop");

    int opened = 0;
    int changes = 0;
    LaunchAtLogin login(XdgAutostartEntry(path, "/opt/velmora/bin/velmora-ui"), true,
                        [&] { ++opened; });
    login.setOnChange([&] { ++changes; });
    EXPECT_TRUE(login.canConfigure());
    EXPECT_FALSE(login.isEnabled());
    EXPECT_EQ(login.statusText(), "Velmora only opens when you launch it.");

    login.setEnabled(true);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(login.isEnabled());
    EXPECT_FALSE(login.requiresApproval());
    EXPECT_EQ(login.statusText(), "Velmora will open automatically after you sign in.");
    EXPECT_NE(readFile(path).find("Exec=/opt/velmora/bin/velmora-ui\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".new"));

    // The desktop switches the entry off in either of its two ways; another group's key does not.
    for (const char* text : {"[Desktop Entry]\nType=Application\nHidden = True\n",
                             "[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n"}) {
        std::ofstream(path) << text;
        LaunchAtLogin switchedOff(XdgAutostartEntry(path, "/opt/velmora/bin/velmora-ui"), true);
        EXPECT_TRUE(switchedOff.isEnabled()) << text;
        EXPECT_TRUE(switchedOff.requiresApproval()) << text;
        EXPECT_EQ(switchedOff.statusText(), approvalText);
    }
    std::ofstream(path) << "[Desktop Entry]\n[Other]\nHidden=true\n";
    EXPECT_EQ(XdgAutostartEntry(path, "").state(), AutostartState::on);

    login.openStartupApplications();
    EXPECT_EQ(opened, 1);
    login.setEnabled(false);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(login.isEnabled());
    login.setEnabled(false); // nothing to delete is fine
    EXPECT_FALSE(login.errorText());
}

TEST(LaunchAtLogin, AFailedWriteKeepsItsErrorUntilTheNextChange) {
    TemporaryDirectory home;
    std::ofstream(home.path() / "autostart") << "a file where the folder should be";
    LaunchAtLogin login(XdgAutostartEntry(home.path() / "autostart" / "velmora.desktop", "/b"),
                        true);
    login.setEnabled(true);
    EXPECT_FALSE(login.isEnabled());
    ASSERT_TRUE(login.errorText());
    EXPECT_TRUE(
        login.errorText()->starts_with("Cannot create " + (home.path() / "autostart").string()))
        << *login.errorText();

    std::filesystem::remove(home.path() / "autostart");
    login.setEnabled(true);
    EXPECT_FALSE(login.errorText());
    EXPECT_TRUE(login.isEnabled());
}

TEST(LaunchAtLogin, QuotesExecPaths) {
    EXPECT_EQ(quotedExecArgument("/usr/bin/velmora-ui"), "/usr/bin/velmora-ui");
    EXPECT_EQ(quotedExecArgument("/home/me/My Apps/velmora-ui"), "\"/home/me/My Apps/velmora-ui\"");
    EXPECT_EQ(quotedExecArgument("/a$b"), "\"/a\\\\$b\"");
}
