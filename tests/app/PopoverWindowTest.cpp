// The popover window follows its content while on screen: opened while the monitor is starting
// (one line), it grows with the first answer and stays at its anchor, inside the screen.
#include "app/PopoverWindow.h"

#include "FakeVelmoraBackend.h"
#include "demo/ScenarioLibrary.h"
#include "state/ManualScheduler.h"
#include "state/PopoverViewModel.h"

#include <QApplication>
#include <QScreen>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;
using namespace std::chrono_literals;

TEST(PopoverWindow, GrowsWithItsContentAtItsAnchor) {
    auto backend = std::make_shared<FakeVelmoraBackend>();
    MonitorLinkState starting;
    starting.cause = MonitorLinkCause::starting;
    backend->publishLink(starting);
    auto scheduler = std::make_shared<ManualScheduler>();
    auto viewModel = PopoverViewModel::create(
        backend, scheduler, {}, std::make_shared<MemoryVerdictTooltipDismissalStore>(), 10s, 4s);
    scheduler->runPending();
    PopoverWindow window(viewModel, PopoverWindow::Style::popover, {});
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect icon(screen.right() - 40, screen.top(), 22, 22); // a tray at the top right
    window.showAnchored(icon, icon.center());
    QApplication::processEvents();
    const QRect before = window.geometry();

    backend->publish(ScenarioLibrary::multiRowSuspect());
    backend->publishLink(MonitorLinkState{});
    scheduler->runPending();
    QApplication::processEvents();
    const QRect after = window.geometry();
    EXPECT_GT(after.height(), before.height() + 200);
    EXPECT_EQ(after.topLeft(), before.topLeft()); // under the icon, as before
    EXPECT_TRUE(screen.contains(after));
    EXPECT_GE(window.content()->height(), after.height() - 8); // shown whole, not scrolled
}
