#include "app/SettingsWindow.h"

#include "app/LaunchAtLoginManager.h"
#include "app/UpdaterController.h"
#include "backend/MockVelmoraBackend.h"
#include "state/ManualScheduler.h"
#include "state/PopoverViewModel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <gtest/gtest.h>

using namespace velmora;
using namespace std::chrono_literals;

namespace {

// A backend that records the refresh intervals it is asked for and publishes what it is given.
class RecordingBackend final : public VelmoraBackend {
public:
    explicit RecordingBackend(PopoverSnapshot initial) : mock_(std::move(initial)) {}
    std::vector<double> intervals;
    std::vector<ShellCommand> commands;

    PopoverSnapshot currentSnapshot() const override { return mock_.currentSnapshot(); }
    std::unique_ptr<Subscription> subscribe(SnapshotHandler handler) override {
        return mock_.subscribe(std::move(handler));
    }
    void dispatch(const std::string& id, const std::string& key) override {
        mock_.dispatch(id, key);
    }
    void dispatch(ShellCommand command) override { commands.push_back(command); }
    void fetchAdvancedHistory(std::optional<std::string> key, HistoryCompletion done) override {
        mock_.fetchAdvancedHistory(std::move(key), std::move(done));
    }
    void updateRefreshInterval(double seconds) override { intervals.push_back(seconds); }
    void updateStorageMode(SettingsStorageMode mode) override { mock_.updateStorageMode(mode); }
    void updateEvidenceCaptureEnabled(bool on) override { mock_.updateEvidenceCaptureEnabled(on); }
    void publishInterval(uint64_t ms) {
        // The mock publishes a snapshot whose refreshIntervalMs follows the request.
        mock_.updateRefreshInterval(static_cast<double>(ms) / 1000.0);
    }

private:
    MockVelmoraBackend mock_;
};

struct Fixture {
    std::shared_ptr<RecordingBackend> backend;
    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::shared_ptr<PopoverViewModel> viewModel;
    std::shared_ptr<UpdaterController> updater;
    std::unique_ptr<SettingsWindow> window;

    Fixture() {
        PopoverSnapshot initial;
        initial.refreshIntervalMs = 2500;
        backend = std::make_shared<RecordingBackend>(initial);
        viewModel = PopoverViewModel::create(backend, scheduler, {},
                                             std::make_shared<MemoryVerdictTooltipDismissalStore>(),
                                             10s, 4s);
        scheduler->runPending();
        updater = UpdaterController::create(
            {}, UpdaterPreferences(std::make_shared<MemoryKeyValueStore>()), nullptr);
        window = std::make_unique<SettingsWindow>(
            viewModel, updater,
            std::make_shared<LaunchAtLoginManager>(
                std::make_shared<UnavailableLoginItemController>(), false));
        window->show();
    }
    template <class T> T* find(const char* name) {
        auto* widget = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
};

} // namespace

TEST(SettingsWindow, ShowsTheCadenceAndSendsOneStepOnce) {
    Fixture f;
    EXPECT_EQ(f.find<QLabel>("refreshCadenceValue")->text(), "2.5 s");
    auto* slider = f.find<QSlider>("refreshCadenceSlider");
    EXPECT_EQ(slider->value(), 5);
    slider->triggerAction(QAbstractSlider::SliderSingleStepSub);
    ASSERT_EQ(f.backend->intervals, std::vector<double>{2.0});
    EXPECT_EQ(f.find<QLabel>("refreshCadenceValue")->text(), "2.0 s");
}

TEST(SettingsWindow, ASnapshotDuringADragDoesNotMoveTheSlider) {
    Fixture f;
    auto* slider = f.find<QSlider>("refreshCadenceSlider");
    slider->setSliderDown(true); // the drag starts
    EXPECT_TRUE(f.window->isAdjustingRefreshInterval());
    f.backend->publishInterval(8000);
    f.scheduler->runPending();
    EXPECT_EQ(slider->value(), 5);
    slider->setSliderDown(false); // released: the slider follows the backend again
    EXPECT_EQ(slider->value(), 16);
    EXPECT_EQ(f.find<QLabel>("refreshCadenceValue")->text(), "8.0 s");
}

TEST(SettingsWindow, UpdateTogglesAreDisabledWhileUpdatingIsUnavailable) {
    Fixture f;
    EXPECT_FALSE(f.find<QCheckBox>("automaticChecksToggle")->isEnabled());
    EXPECT_FALSE(f.find<QCheckBox>("automaticDownloadsToggle")->isEnabled());
    EXPECT_TRUE(f.find<QLabel>("updatesUnavailableNote")->isVisible() ||
                !f.find<QLabel>("updatesUnavailableNote")->isHidden());
    EXPECT_TRUE(f.find<QPushButton>("checkForUpdatesButton")->isHidden());
    EXPECT_EQ(f.find<QLabel>("updatesUnavailableNote")->text(),
              "Packaged installs update through the system package manager; local development "
              "builds do not check for updates.");
    EXPECT_FALSE(f.find<QCheckBox>("launchAtLoginToggle")->isEnabled());
    EXPECT_EQ(f.find<QLabel>("launchAtLoginStatus")->text(),
              "Launch at login is only available from an installed copy of Velmora.");
}

TEST(SettingsWindow, StoragePresetGoesThroughTheViewModel) {
    Fixture f;
    f.find<QPushButton>("storageModeDeep")->click();
    EXPECT_EQ(f.viewModel->snapshot().settings.storageMode, SettingsStorageMode::deepInvestigation);
    EXPECT_TRUE(f.find<QPushButton>("storageModeDeep")->isChecked());
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
