// SPDX-License-Identifier: GPL-3.0-or-later
// The popover window follows its content while on screen: opened while the monitor is starting
// (one line), it grows with the first answer and stays at its anchor, inside the screen.
#include "app/PopoverWindow.h"

#include "FakeVelmoraBackend.h"
#include "demo/ScenarioLibrary.h"
#include "state/ManualScheduler.h"
#include "state/PopoverViewModel.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
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

namespace {

std::shared_ptr<PopoverViewModel> answeredViewModel(std::shared_ptr<ManualScheduler> scheduler) {
    auto backend = std::make_shared<FakeVelmoraBackend>();
    backend->publish(ScenarioLibrary::multiRowSuspect());
    auto viewModel = PopoverViewModel::create(
        backend, scheduler, {}, std::make_shared<MemoryVerdictTooltipDismissalStore>(), 10s, 4s);
    scheduler->runPending();
    return viewModel;
}

} // namespace

// Without a tray the window carries the hint above its content until it is dismissed; the
// popover has no room for one.
TEST(PopoverWindow, TheWindowShowsTheNoTrayHintUntilItIsDismissed) {
    auto scheduler = std::make_shared<ManualScheduler>();
    PopoverWindow window(answeredViewModel(scheduler), PopoverWindow::Style::window, {});
    window.present();
    auto* hint = window.findChild<QFrame*>(QStringLiteral("noTrayHint"));
    ASSERT_NE(hint, nullptr);
    EXPECT_FALSE(hint->isVisible());

    int dismissals = 0;
    window.showHint(QStringLiteral("Install the AppIndicator extension."), [&] { ++dismissals; });
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("noTrayHintText"))->text(),
              QStringLiteral("Install the AppIndicator extension."));
    // Above the content, across the window.
    EXPECT_LT(hint->geometry().bottom(), window.content()->mapTo(&window, QPoint(0, 0)).y());

    window.findChild<QPushButton*>(QStringLiteral("noTrayHintDismiss"))->click();
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(dismissals, 1);

    PopoverWindow popover(answeredViewModel(scheduler), PopoverWindow::Style::popover, {});
    popover.showHint(QStringLiteral("ignored"), [] {});
    EXPECT_EQ(popover.findChild<QFrame*>(QStringLiteral("noTrayHint")), nullptr);
}
