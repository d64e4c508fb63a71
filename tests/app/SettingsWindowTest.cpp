// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SettingsWindow.h"

#include "WindowTestSupport.h"
#include "app/LaunchAtLogin.h"
#include "demo/MockVelmoraBackend.h"
#include "state/ManualScheduler.h"
#include "state/PopoverViewModel.h"
#include "views/kit/VelmoraPalette.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <fstream>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;
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

PopoverSnapshot cadenceSnapshot() {
    PopoverSnapshot snapshot;
    snapshot.refreshIntervalMs = 2500;
    return snapshot;
}

struct Fixture {
    std::shared_ptr<RecordingBackend> backend;
    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::shared_ptr<PopoverViewModel> viewModel;
    std::unique_ptr<SettingsWindow> window;

    explicit Fixture(PopoverSnapshot initial = cadenceSnapshot(),
                     std::shared_ptr<LaunchAtLogin> login =
                         std::make_shared<LaunchAtLogin>(std::nullopt, false)) {
        backend = std::make_shared<RecordingBackend>(std::move(initial));
        viewModel = PopoverViewModel::create(backend, scheduler, {},
                                             std::make_shared<MemoryVerdictTooltipDismissalStore>(),
                                             10s, 4s);
        scheduler->runPending();
        window = std::make_unique<SettingsWindow>(viewModel, std::move(login), "0.1.0");
        window->show();
        QApplication::processEvents();
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

TEST(SettingsWindow, LifecycleNamesTheVersionAndABuildTreeCannotLaunchAtLogin) {
    Fixture f;
    const auto* updates = f.find<QWidget>("updatesGroup");
    EXPECT_TRUE(updates->findChildren<QCheckBox*>().isEmpty());
    EXPECT_TRUE(updates->findChildren<QPushButton*>().isEmpty());
    EXPECT_EQ(f.find<QLabel>("updatesNote")->text(),
              "Version 0.1.0. Packaged installs update through the system package manager; "
              "local development builds do not check for updates.");
    EXPECT_FALSE(f.find<QCheckBox>("launchAtLoginToggle")->isEnabled());
    EXPECT_EQ(f.find<QLabel>("launchAtLoginStatus")->text(),
              "Launch at login is only available from an installed copy of Velmora.");
}

TEST(SettingsWindow, AnEntryTheDesktopSwitchedOffAsksForApprovalAndTheToggleRemovesIt) {
    QTemporaryDir home;
    const auto path =
        std::filesystem::path(home.path().toStdString()) / "autostart" / "velmora.desktop";
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n";
    int opened = 0;
    Fixture f(cadenceSnapshot(),
              std::make_shared<LaunchAtLogin>(XdgAutostartEntry(path, "/usr/bin/velmora-ui"), true,
                                              [&] { ++opened; }));
    f.find<QTabWidget>("settingsTabs")->setCurrentIndex(1);
    auto* toggle = f.find<QCheckBox>("launchAtLoginToggle");
    auto* approval = f.find<QPushButton>("launchAtLoginApproval");
    EXPECT_TRUE(toggle->isEnabled());
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(f.find<QLabel>("launchAtLoginStatus")->text(),
              "Velmora is queued for launch at login, but the desktop still needs approval.");
    EXPECT_TRUE(approval->isVisible());
    approval->click();
    EXPECT_EQ(opened, 1);

    toggle->click();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_FALSE(approval->isVisible());
    EXPECT_EQ(f.find<QLabel>("launchAtLoginStatus")->text(),
              "Velmora only opens when you launch it.");
}

TEST(SettingsWindow, StoragePresetGoesThroughTheViewModel) {
    Fixture f;
    f.find<QPushButton>("storageModeDeep")->click();
    EXPECT_EQ(f.viewModel->snapshot().settings.storageMode, SettingsStorageMode::deepInvestigation);
    EXPECT_TRUE(f.find<QPushButton>("storageModeDeep")->isChecked());
}

namespace {

// The heights a person meets: the shortest the window goes, and the free height of a
// 1366 x 768 screen under a 32 px panel and a 36 px title bar.
constexpr int shortestHeight = SettingsWindow::minimumWindowHeight;
constexpr int smallScreenHeight = 768 - 32 - 36;

// Layout requests travel up one widget level per pass of the event loop: enough passes for the
// deepest widget of the window to reach the page.
void settle() {
    for (int pass = 0; pass < 10; ++pass) {
        QApplication::processEvents();
    }
}

void setDisclosure(Fixture& f, const char* name, bool open) {
    auto* header = f.find<QWidget>(name)->findChild<QToolButton*>("disclosureHeader");
    ASSERT_NE(header, nullptr) << name;
    if (header->isChecked() != open) {
        header->click();
    }
}

// The darkest, most opaque colour of an icon's glyph.
QColor inkOf(const QIcon& icon, QIcon::State state) {
    const QImage image = icon.pixmap(QSize(16, 16), 2.0, QIcon::Normal, state)
                             .toImage()
                             .convertToFormat(QImage::Format_ARGB32);
    QColor ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() > ink.alpha() || !ink.isValid()) {
                ink = pixel;
            }
        }
    }
    return ink;
}

} // namespace

// What a person sees on each tab, at each height, with the details closed and opened: every
// text fits its label, nothing lies outside its parent, the page scrolls vertically only and
// reaches its bottom, and every text stands out from the window in light and dark.
TEST(SettingsLayout, EveryTextFitsAndEverySectionIsReachable) {
    Fixture f(longTextSnapshot());
    auto* tabs = f.find<QTabWidget>("settingsTabs");
    EXPECT_EQ(f.window->width(), SettingsWindow::windowWidth);
    EXPECT_GE(f.window->height(), SettingsWindow::minimumWindowHeight);
    EXPECT_LE(f.window->height(), SettingsWindow::preferredWindowHeight);
    for (const int height : {f.window->height(), shortestHeight, smallScreenHeight}) {
        f.window->resize(SettingsWindow::windowWidth, height);
        for (const bool open : {false, true}) {
            setDisclosure(f, "advancedStorageDetails", open);
            setDisclosure(f, "accessDetails", open);
            for (const bool dark : {false, true}) {
                VelmoraPalette::setDark(dark);
                for (int tab = 0; tab < tabs->count(); ++tab) {
                    tabs->setCurrentIndex(tab);
                    settle();
                    const std::string where =
                        tabs->tabText(tab).toStdString() + " at " + std::to_string(height) + " px" +
                        (open ? ", details open" : "") + (dark ? ", dark" : ", light");
                    EXPECT_EQ(report(clippedTexts(f.window.get())), "") << where;
                    EXPECT_EQ(report(misplacedChildren(f.window.get())), "") << where;
                    EXPECT_EQ(report(illegibleTexts(f.window.get())), "") << where;
                    auto* page = qobject_cast<QScrollArea*>(tabs->currentWidget());
                    ASSERT_NE(page, nullptr) << where;
                    EXPECT_EQ(page->verticalScrollBar()->maximum(),
                              std::max(0, page->widget()->height() - page->viewport()->height()))
                        << where;
                }
            }
            VelmoraPalette::setDark(false);
        }
    }
    tabs->setCurrentIndex(0);
}

// At the shortest height "Access details" opens below the fold: its claims get their room at
// once, the page grows by them, the page scrolls to show them with the header still in sight,
// the last claim can be scrolled to, and closing gives the room back.
TEST(SettingsLayout, OpeningAccessDetailsShowsTheClaimsAndScrollsToThem) {
    Fixture f(longTextSnapshot());
    f.window->resize(SettingsWindow::windowWidth, shortestHeight);
    settle();
    auto* page = f.find<QScrollArea>("monitorPage");
    auto* details = f.find<QWidget>("accessDetails");
    auto* header = details->findChild<QToolButton*>("disclosureHeader");
    auto* claims = f.find<QWidget>("trustAccessClaims");
    ASSERT_NE(header, nullptr);
    const int closedHeight = page->widget()->height();
    EXPECT_FALSE(claims->isVisible());

    header->click(); // no event processing: the page is laid out and scrolled at once
    ASSERT_TRUE(claims->isVisible());
    const auto claimViews = claims->findChildren<QWidget*>("trustClaim");
    ASSERT_EQ(claimViews.size(), 5);
    for (const QWidget* claim : claimViews) {
        EXPECT_GT(claim->height(), 0) << claim->accessibleName().toStdString();
    }
    EXPECT_GE(page->widget()->height(), closedHeight + claims->height());
    const QRect viewport = page->viewport()->rect();
    const QRect claimsShown(claims->mapTo(page->viewport(), QPoint(0, 0)), claims->size());
    EXPECT_TRUE(viewport.intersects(claimsShown));
    EXPECT_GE(header->mapTo(page->viewport(), QPoint(0, 0)).y(), 0);

    QApplication::processEvents(); // the posted layout requests change nothing
    EXPECT_EQ(QRect(claims->mapTo(page->viewport(), QPoint(0, 0)), claims->size()), claimsShown);

    page->verticalScrollBar()->setValue(page->verticalScrollBar()->maximum());
    const QWidget* last = claimViews.back();
    EXPECT_LE(last->mapTo(page->viewport(), QPoint(0, last->height())).y(), viewport.height());

    header->click(); // closing lays the page out at once as well
    EXPECT_FALSE(claims->isVisible());
    EXPECT_EQ(page->widget()->height(), closedHeight);
}

// "Advanced storage details" holds the budget, the safety line and every retention line.
TEST(SettingsLayout, AdvancedStorageDetailsShowEveryRetentionLine) {
    Fixture f(longTextSnapshot());
    auto* retention = f.find<QLabel>("retentionLines");
    EXPECT_FALSE(retention->isVisible());
    setDisclosure(f, "advancedStorageDetails", true);
    ASSERT_TRUE(retention->isVisible());
    EXPECT_GT(retention->height(), 0);
    EXPECT_EQ(retention->text().count(QStringLiteral("\u2022 ")), 6);
    EXPECT_EQ(report(clippedTexts(f.window.get())), "");
}

// Each tab carries its own symbol, in the neutral text colour when selected and the muted one
// otherwise, re-tinted when the appearance flips; the window itself turns dark with it.
TEST(SettingsWindow, EachTabShowsItsSymbolTintedForTheAppearance) {
    Fixture f;
    auto* tabs = f.find<QTabWidget>("settingsTabs");
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_NE(tabs->tabIcon(0).pixmap(QSize(16, 16)).toImage(),
              tabs->tabIcon(1).pixmap(QSize(16, 16)).toImage());
    for (const bool dark : {false, true}) {
        VelmoraPalette::setDark(dark);
        const VelmoraPalette& colors = dark ? VelmoraPalette::dark() : VelmoraPalette::light();
        for (int tab = 0; tab < tabs->count(); ++tab) {
            const QIcon icon = tabs->tabIcon(tab);
            ASSERT_FALSE(icon.isNull()) << tab;
            EXPECT_EQ(inkOf(icon, QIcon::On).rgb(), colors.color(PaletteColor::neutralText).rgb())
                << tab << (dark ? " dark" : " light");
            EXPECT_EQ(inkOf(icon, QIcon::Off).rgb(), colors.color(PaletteColor::mutedText).rgb())
                << tab << (dark ? " dark" : " light");
        }
        EXPECT_EQ(f.window->palette().color(QPalette::Window).lightnessF() < 0.5, dark);
    }
    VelmoraPalette::setDark(false);
}
