#include "app/LaunchAtLoginManager.h"
#include "app/XdgAutostartController.h"
#include "tests/support/FileText.h"
#include "tests/support/TemporaryDirectory.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace velmora;

namespace {

class FakeLoginItem final : public LoginItemControlling {
public:
    LoginItemStatus current = LoginItemStatus::notRegistered;
    LoginItemStatus afterRegister = LoginItemStatus::enabled;
    bool throwOnRegister = false;
    int opened = 0;

    LoginItemStatus status() const override { return current; }
    void registerItem() override {
        if (throwOnRegister) {
            throw std::runtime_error("The login item could not be registered.");
        }
        current = afterRegister;
    }
    void unregisterItem() override { current = LoginItemStatus::notRegistered; }
    void openSystemSettings() override { ++opened; }
};

using velmora::testing::readFile;
using velmora::testing::TemporaryDirectory;

} // namespace

TEST(LaunchAtLogin, StatusCodesMapToFlagsAndTexts) {
    EXPECT_EQ(loginItemStatusFromCode(2), LoginItemStatus::requiresApproval);
    EXPECT_EQ(loginItemStatusFromCode(7), LoginItemStatus::notFound);
    EXPECT_EQ(loginItemStatusFromCode(-1), LoginItemStatus::notFound);

    auto item = std::make_shared<FakeLoginItem>();
    LaunchAtLoginManager off(item, true);
    EXPECT_FALSE(off.isEnabled());
    EXPECT_TRUE(off.canConfigure());
    EXPECT_EQ(off.statusText(), "Velmora only opens when you launch it.");

    item->current = LoginItemStatus::enabled;
    LaunchAtLoginManager on(item, true);
    EXPECT_TRUE(on.isEnabled());
    EXPECT_EQ(on.statusText(), "Velmora will open automatically after you sign in.");

    item->current = LoginItemStatus::notFound;
    LaunchAtLoginManager installed(item, true);
    EXPECT_FALSE(installed.canConfigure());
    EXPECT_EQ(installed.statusText(), "This install cannot register launch-at-login right now.");
    LaunchAtLoginManager buildTree(item, false);
    EXPECT_EQ(buildTree.statusText(),
              "Launch at login is only available from an installed copy of Velmora.");
}

TEST(LaunchAtLogin, EnablingIntoApprovalShowsTheApprovalState) {
    auto item = std::make_shared<FakeLoginItem>();
    item->afterRegister = LoginItemStatus::requiresApproval;
    LaunchAtLoginManager manager(item, true);
    int changes = 0;
    manager.setOnChange([&] { ++changes; });
    manager.setEnabled(true);
    EXPECT_TRUE(manager.isEnabled());
    EXPECT_TRUE(manager.requiresApproval());
    EXPECT_FALSE(manager.isBusy());
    EXPECT_EQ(manager.statusText(),
              "Velmora is queued for launch at login, but the desktop still needs approval.");
    EXPECT_GE(changes, 1);
    manager.openSystemSettings();
    EXPECT_EQ(item->opened, 1);
}

TEST(LaunchAtLogin, AThrowingRegisterKeepsItsErrorText) {
    auto item = std::make_shared<FakeLoginItem>();
    item->throwOnRegister = true;
    LaunchAtLoginManager manager(item, true);
    manager.setEnabled(true);
    EXPECT_EQ(manager.errorText(), "The login item could not be registered.");
    EXPECT_FALSE(manager.isEnabled());
    EXPECT_FALSE(manager.isBusy());
    // The next successful change clears it.
    item->throwOnRegister = false;
    manager.setEnabled(true);
    EXPECT_FALSE(manager.errorText());
    EXPECT_TRUE(manager.isEnabled());
}

TEST(LaunchAtLogin, TheUnavailableControllerNeverConfigures) {
    LaunchAtLoginManager manager(std::make_shared<UnavailableLoginItemController>(), false);
    EXPECT_FALSE(manager.canConfigure());
    manager.setEnabled(true);
    EXPECT_TRUE(manager.errorText());
    EXPECT_FALSE(manager.isEnabled());
}

TEST(XdgAutostart, WritesDeletesAndReadsTheDesktopsSwitch) {
    TemporaryDirectory home;
    const auto entry = XdgAutostartController::defaultEntryPath({{"XDG_CONFIG_HOME", home.path()}});
    EXPECT_EQ(entry, home.path() / "autostart" / "velmora.desktop");
    EXPECT_EQ(XdgAutostartController::defaultEntryPath(
                  {{"XDG_CONFIG_HOME", "relative"}, {"HOME", "/home/me"}}),
              "/home/me/.config/autostart/velmora.desktop");

    XdgAutostartController controller(entry, "/opt/velmora/bin/velmora-ui", true, nullptr);
    EXPECT_EQ(controller.status(), LoginItemStatus::notRegistered);
    controller.registerItem();
    EXPECT_EQ(controller.status(), LoginItemStatus::enabled);
    const auto text = readFile(entry);
    EXPECT_NE(text.find("Exec=/opt/velmora/bin/velmora-ui\n"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(entry.parent_path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file is left beside the entry";

    std::ofstream(entry) << "[Desktop Entry]\nType=Application\nHidden=true\n";
    EXPECT_EQ(controller.status(), LoginItemStatus::requiresApproval);
    std::ofstream(entry) << "[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n";
    EXPECT_EQ(controller.status(), LoginItemStatus::requiresApproval);
    std::ofstream(entry) << "[Desktop Entry]\n[Other]\nHidden=true\n";
    EXPECT_EQ(controller.status(), LoginItemStatus::enabled);

    controller.unregisterItem();
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_EQ(controller.status(), LoginItemStatus::notRegistered);
    controller.unregisterItem(); // nothing to delete is fine
}

TEST(XdgAutostart, ABuildTreeCopyCannotRegister) {
    TemporaryDirectory home;
    XdgAutostartController controller(home.path() / "autostart" / "velmora.desktop",
                                      "/b/velmora-ui", false, nullptr);
    EXPECT_EQ(controller.status(), LoginItemStatus::notFound);
    EXPECT_THROW(controller.registerItem(), LoginItemUnsupported);
    EXPECT_FALSE(std::filesystem::exists(home.path() / "autostart"));
}

TEST(XdgAutostart, QuotesExecPaths) {
    EXPECT_EQ(quotedExecArgument("/usr/bin/velmora-ui"), "/usr/bin/velmora-ui");
    EXPECT_EQ(quotedExecArgument("/home/me/My Apps/velmora-ui"), "\"/home/me/My Apps/velmora-ui\"");
    EXPECT_EQ(quotedExecArgument("/a$b"), "\"/a\\\\$b\"");
}
