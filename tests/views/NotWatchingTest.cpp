// SPDX-License-Identifier: GPL-3.0-or-later
// While the monitor is not watching: the notice's texts, the once-a-second repaint that runs only
// then, and the popover as a person sees it (the header says so, the rows are out of date, the
// "Restart monitor" button reports through its closure), from the view model to the pixels.

#include "demo/MockVelmoraBackend.h"
#include "demo/ScenarioLibrary.h"
#include "state/ManualScheduler.h"
#include "state/PopoverViewModel.h"
#include "state/VerdictTooltipDismissalStore.h"
#include "support/ViewTestSupport.h"
#include "views/kit/ActionCapsuleButton.h"
#include "views/kit/RepaintTicker.h"
#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraText.h"
#include "views/popover/NotWatchingNotice.h"
#include "views/popover/NotWatchingPanel.h"
#include "views/popover/OutOfDate.h"
#include "views/popover/PopoverHost.h"
#include "views/popover/PopoverRootBinding.h"
#include "views/popover/PopoverRootView.h"
#include "views/popover/SystemStateHeader.h"

#include <QGraphicsOpacityEffect>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using testing::findByObjectName;

MonitorLinkState link(MonitorLinkCause cause, int code, MonitorRecovery recovery) {
    MonitorLinkState state;
    state.cause = cause;
    state.code = code;
    state.recovery = recovery;
    return state;
}

// ---- The texts ----

TEST(NotWatchingNoticeTest, SaysWhyWhatHappensNextAndHowOldTheRowsAre) {
    EXPECT_EQ(notWatchingNotice(MonitorLinkState{}, std::nullopt, std::nullopt), std::nullopt);

    const auto killed = notWatchingNotice(
        link(MonitorLinkCause::killedBySignal, 9, MonitorRecovery::scheduled), 4s, 2min + 10s);
    ASSERT_TRUE(killed.has_value());
    EXPECT_EQ(killed->title, "Velmora is not watching");
    EXPECT_EQ(killed->reason, "Monitor killed by signal 9");
    EXPECT_EQ(killed->next, "next try in 4 s");
    EXPECT_EQ(killed->lastUpdated, "Last updated 2 min ago");
    EXPECT_FALSE(killed->restarting);
    EXPECT_EQ(noticeDetail(*killed), "Monitor killed by signal 9 \u00b7 next try in 4 s");
    EXPECT_EQ(notWatchingToolTip(*killed), "Velmora is not watching\nMonitor killed by signal 9 "
                                           "\u00b7 next try in 4 s\nLast updated 2 min ago");

    const auto gaveUp = notWatchingNotice(
        link(MonitorLinkCause::exited, 3, MonitorRecovery::gaveUp), std::nullopt, 12s);
    EXPECT_EQ(noticeDetail(*gaveUp), "Monitor stopped with status 3 \u00b7 gave up after 5 tries");
    EXPECT_EQ(gaveUp->lastUpdated, "Last updated 12 s ago");

    const auto starting = notWatchingNotice(
        link(MonitorLinkCause::notAnswering, 0, MonitorRecovery::starting), std::nullopt, 3h);
    EXPECT_EQ(noticeDetail(*starting), "Monitor not answering \u00b7 starting it again\u2026");
    EXPECT_TRUE(starting->restarting);
    EXPECT_EQ(starting->lastUpdated, "Last updated 3 h ago");

    // A stalled sampler is left to recover (or to the person): nothing planned to say.
    const auto stalled = notWatchingNotice(
        link(MonitorLinkCause::notSampling, 0, MonitorRecovery::none), std::nullopt, 45s);
    EXPECT_EQ(noticeDetail(*stalled), "Monitor not sampling");

    // A monitor that never started has shown no data at all.
    const auto never = notWatchingNotice(
        link(MonitorLinkCause::notStarted, 0, MonitorRecovery::scheduled), 2s, std::nullopt);
    EXPECT_EQ(noticeDetail(*never), "Monitor could not be started \u00b7 next try in 2 s");
    EXPECT_EQ(never->lastUpdated, "No data yet");
}

TEST(NotWatchingNoticeTest, StartingSaysSoAndNothingElse) {
    const auto starting = notWatchingNotice(
        link(MonitorLinkCause::starting, 0, MonitorRecovery::none), std::nullopt, std::nullopt);
    ASSERT_TRUE(starting.has_value());
    EXPECT_TRUE(starting->starting);
    EXPECT_EQ(starting->title, "Velmora is starting its monitor\u2026");
    EXPECT_EQ(notWatchingToolTip(*starting), "Velmora is starting its monitor\u2026");
}

TEST(NotWatchingNoticeTest, CountsDownInWholeSecondsAndAgesDownwards) {
    EXPECT_EQ(nextTryText(4s), "next try in 4 s");
    EXPECT_EQ(nextTryText(3001ms), "next try in 4 s"); // never sooner than it is
    EXPECT_EQ(nextTryText(1ms), "next try in 1 s");
    EXPECT_EQ(nextTryText(0s), "next try now");
    EXPECT_EQ(nextTryText(-2s), "next try now");
    EXPECT_EQ(agoText(400ms), "just now");
    EXPECT_EQ(agoText(59s + 999ms), "59 s ago");
    EXPECT_EQ(agoText(60s), "1 min ago");
    EXPECT_EQ(agoText(59min + 59s), "59 min ago");
    EXPECT_EQ(agoText(2h + 30min), "2 h ago");
    EXPECT_EQ(agoText(49h), "2 d ago");
}

// ---- The repaint timer ----

TEST(RepaintTickerTest, TicksOnlyWhileRunningAndHoldsNoTimerOtherwise) {
    auto scheduler = std::make_shared<ManualScheduler>();
    int ticks = 0;
    auto ticker = std::make_unique<RepaintTicker>(scheduler, [&] { ++ticks; });
    scheduler->advance(10s);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(scheduler->scheduledTimerCount(), 0u);

    ticker->setRunning(true);
    ticker->setRunning(true); // no second timer
    EXPECT_EQ(scheduler->scheduledTimerCount(), 1u);
    scheduler->advance(3s + 500ms);
    EXPECT_EQ(ticks, 3);
    ticker->setRunning(false);
    EXPECT_EQ(scheduler->scheduledTimerCount(), 0u);
    scheduler->advance(5s);
    EXPECT_EQ(ticks, 3);

    // A tick may stop it.
    ticker = std::make_unique<RepaintTicker>(scheduler, [&] {
        ++ticks;
        ticker->setRunning(false);
    });
    ticker->setRunning(true);
    scheduler->advance(5s);
    EXPECT_EQ(ticks, 4);
    EXPECT_EQ(scheduler->scheduledTimerCount(), 0u);

    ticker = std::make_unique<RepaintTicker>(scheduler, [&] { ++ticks; });
    ticker->setRunning(true);
    ticker.reset(); // destroyed while running: its timer goes with it
    EXPECT_EQ(scheduler->scheduledTimerCount(), 0u);
    scheduler->advance(5s);
    EXPECT_EQ(ticks, 4);
}

// ---- The popover ----

bool shown(const QWidget* root, const char* name) {
    const QWidget* widget = findByObjectName(root, QString::fromLatin1(name));
    return widget != nullptr && widget->isVisibleTo(root);
}

QString textOf(const QWidget* root, const char* name) {
    const auto* text = findByObjectName<VelmoraText>(root, QString::fromLatin1(name));
    return text != nullptr ? text->displayText() : QStringLiteral("<missing>");
}

PopoverRenderState liveState(const PopoverSnapshot& snapshot) {
    PopoverRenderState state;
    state.snapshot = snapshot;
    return state;
}

PopoverRenderState killedState(const PopoverSnapshot& snapshot) {
    PopoverRenderState state = liveState(snapshot);
    state.notWatching = notWatchingNotice(
        link(MonitorLinkCause::killedBySignal, 9, MonitorRecovery::scheduled), 4s, 2min);
    return state;
}

TEST(NotWatchingPopoverTest, HeaderSaysSoRowsAreOutOfDateAndRestartReportsThroughItsClosure) {
    PopoverRootView root;
    int restarts = 0;
    PopoverCallbacks callbacks;
    callbacks.restartMonitor = [&] { ++restarts; };
    root.setCallbacks(callbacks);
    root.show();
    const PopoverSnapshot& snapshot = ScenarioLibrary::listSuspects();
    root.render(liveState(snapshot));
    ASSERT_FALSE(isFocusedIncidentLayout(snapshot)); // so that the summary strip is there
    EXPECT_FALSE(shown(&root, "notWatchingNotice"));
    EXPECT_TRUE(shown(&root, "summaryStrip"));
    EXPECT_FALSE(root.showsRowsOutOfDate());

    root.render(killedState(snapshot));
    ASSERT_TRUE(shown(&root, "notWatchingNotice"));
    EXPECT_EQ(textOf(&root, "notWatchingTitle"), "Velmora is not watching");
    EXPECT_EQ(textOf(&root, "notWatchingDetail").replace(QChar(0x00a0), QLatin1Char(' ')),
              "Monitor killed by signal 9 \u00b7 next try in 4 s");
    EXPECT_EQ(textOf(&root, "notWatchingLastUpdated"), "Last updated 2 min ago");
    // The pill no longer speaks for the memory pressure, and the summary no longer for the rows.
    auto* pill = findByObjectName<PressurePill>(&root, "pressurePill");
    EXPECT_EQ(pill->displayText(), "NOT WATCHING");
    EXPECT_TRUE(pill->isMuted());
    EXPECT_FALSE(shown(&root, "summaryStrip"));
    // The rows stay, dimmed as out of date; the notice and the header are not dimmed.
    EXPECT_TRUE(shown(&root, "liveList"));
    EXPECT_TRUE(root.showsRowsOutOfDate());
    auto* dim = qobject_cast<QGraphicsOpacityEffect*>(
        findByObjectName(&root, "snapshotArea")->graphicsEffect());
    ASSERT_NE(dim, nullptr);
    EXPECT_LT(dim->opacity(), 0.6);
    EXPECT_EQ(findByObjectName(&root, "snapshotArea")->accessibleDescription(), "Out of date");
    // So are the footer's storage facts, but not its commands.
    EXPECT_TRUE(shown(&root, "footerChips"));
    EXPECT_TRUE(isOutOfDate(findByObjectName(&root, "footerChips")));
    EXPECT_FALSE(isOutOfDate(findByObjectName(&root, "footerTelemetry")));
    EXPECT_EQ(root.notWatchingPanel()->graphicsEffect(), nullptr);
    // The notice sits right under the header, above the rows.
    const auto y = [&root](const char* name) {
        return findByObjectName(&root, QString::fromLatin1(name))->mapTo(root.card(), QPoint()).y();
    };
    EXPECT_LT(y("systemStateHeader"), y("notWatchingNotice"));
    EXPECT_LT(y("notWatchingNotice"), y("mainArea"));

    auto* restart = findByObjectName<ActionCapsuleButton>(&root, "restartMonitorButton");
    ASSERT_NE(restart, nullptr);
    EXPECT_TRUE(restart->isVisibleTo(&root));
    EXPECT_EQ(restart->labelText(), "Restart monitor");
    restart->click();
    EXPECT_EQ(restarts, 1);

    // Once a new monitor is starting, the button spins and takes no second press.
    PopoverRenderState starting = liveState(snapshot);
    starting.notWatching = notWatchingNotice(
        link(MonitorLinkCause::killedBySignal, 9, MonitorRecovery::starting), std::nullopt, 2min);
    root.render(starting);
    EXPECT_TRUE(restart->isPending());
    restart->click();
    EXPECT_EQ(restarts, 1);

    // The first good answer clears it all.
    root.render(liveState(snapshot));
    EXPECT_FALSE(shown(&root, "notWatchingNotice"));
    EXPECT_TRUE(shown(&root, "summaryStrip"));
    EXPECT_FALSE(root.showsRowsOutOfDate());
    EXPECT_FALSE(isOutOfDate(findByObjectName(&root, "footerChips")));
    EXPECT_EQ(pill->displayText(),
              QString::fromStdString(snapshot.systemState.pressureLabel).toUpper());
    EXPECT_FALSE(pill->isMuted());
}

// Every text the popover shows, for checking that none of the placeholder's figures is there.
QStringList visibleTexts(const QWidget* root) {
    QStringList texts;
    for (const auto* text : root->findChildren<VelmoraText*>()) {
        if (text->isVisibleTo(root) && !text->displayText().isEmpty()) {
            texts << text->displayText();
        }
    }
    return texts;
}

// Before the first answer: the starting notice and no figure at all; if the answer does not
// come, "not watching" and still no figure; the first answer brings everything.
TEST(NotWatchingPopoverTest, BeforeTheFirstAnswerThePopoverShowsNoFigures) {
    PopoverRootView root;
    root.show();
    PopoverRenderState starting = liveState(PopoverSnapshot{});
    starting.notWatching = notWatchingNotice(
        link(MonitorLinkCause::starting, 0, MonitorRecovery::none), std::nullopt, std::nullopt);
    starting.monitorLink = link(MonitorLinkCause::starting, 0, MonitorRecovery::none);
    root.render(starting);
    ASSERT_TRUE(shown(&root, "notWatchingNotice"));
    EXPECT_EQ(textOf(&root, "notWatchingTitle"), "Velmora is starting its monitor\u2026");
    for (const char* hidden :
         {"notWatchingDetail", "notWatchingLastUpdated", "restartMonitorButton",
          "systemStateHeader", "summaryStrip", "snapshotArea", "footerChips"}) {
        EXPECT_FALSE(shown(&root, hidden)) << hidden;
    }
    EXPECT_TRUE(shown(&root, "footerTelemetry")); // settings and quit stay within reach
    const QStringList texts = visibleTexts(&root);
    EXPECT_EQ(texts, QStringList{"Velmora is starting its monitor\u2026"})
        << texts.join(" | ").toStdString();

    PopoverRenderState failed = starting;
    failed.notWatching = notWatchingNotice(
        link(MonitorLinkCause::notAnswering, 0, MonitorRecovery::scheduled), 1s, std::nullopt);
    root.render(failed);
    EXPECT_EQ(textOf(&root, "notWatchingTitle"), "Velmora is not watching");
    EXPECT_EQ(textOf(&root, "notWatchingLastUpdated"), "No data yet");
    EXPECT_TRUE(shown(&root, "restartMonitorButton"));
    EXPECT_FALSE(shown(&root, "systemStateHeader"));
    EXPECT_FALSE(shown(&root, "snapshotArea"));
    EXPECT_FALSE(shown(&root, "footerChips"));
    for (const QString& text : visibleTexts(&root)) {
        EXPECT_FALSE(text.contains("ALL CLEAR", Qt::CaseInsensitive) ||
                     text.contains("No active memory incident") || text.contains("available"))
            << text.toStdString();
    }

    const PopoverSnapshot& first = ScenarioLibrary::listSuspects();
    root.render(liveState(first));
    EXPECT_FALSE(shown(&root, "notWatchingNotice"));
    EXPECT_TRUE(shown(&root, "systemStateHeader"));
    EXPECT_TRUE(shown(&root, "snapshotArea"));
    EXPECT_TRUE(shown(&root, "footerChips"));
    EXPECT_FALSE(root.showsRowsOutOfDate());
}

TEST(NotWatchingPopoverTest, ACriticalPillDoesNotGlowWhileNotWatching) {
    SystemStateHeader header;
    header.resize(400, 60);
    header.show();
    SystemStateSnapshot state;
    state.pressureLabel = "Critical pressure";
    header.setState(state, SnapshotTone::critical, false);
    testing::settle();
    auto* pill = findByObjectName<PressurePill>(&header, "pressurePill");
    EXPECT_EQ(pill->displayText(), "NOT WATCHING");
    EXPECT_DOUBLE_EQ(header.attention(), 0.0);
    EXPECT_TRUE(pill->capsuleTransform().isIdentity());
    EXPECT_EQ(pill->tint(), VelmoraPalette::current().color(PaletteColor::mutedText));
    header.setState(state, SnapshotTone::critical, true); // watching again: it brightens
    EXPECT_GT(header.attention(), 0.0);
}

// The mean distance of the pixels in `area` from `base`, over the three channels.
double meanDistance(const QImage& image, const QRect& area, const QColor& base) {
    double sum = 0;
    int count = 0;
    const qreal dpr = image.devicePixelRatio();
    for (int y = qRound(area.top() * dpr); y < qRound(area.bottom() * dpr); ++y) {
        for (int x = qRound(area.left() * dpr); x < qRound(area.right() * dpr); ++x) {
            const QColor c = image.pixelColor(x, y);
            sum += std::abs(c.red() - base.red()) + std::abs(c.green() - base.green()) +
                   std::abs(c.blue() - base.blue());
            ++count;
        }
    }
    return count > 0 ? sum / count : 0;
}

class NotWatchingPictureTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { VelmoraPalette::setDark(GetParam()); }
    void TearDown() override { VelmoraPalette::setDark(false); }
};

TEST_P(NotWatchingPictureTest, TheRowsAreDrawnFaintAndTheNoticeOnItsOwnSurfaceAt448) {
    const PopoverSnapshot& snapshot = ScenarioLibrary::suspect();
    PopoverHost watching;
    watching.present(liveState(snapshot));
    PopoverHost notWatching;
    notWatching.present(killedState(snapshot));
    ASSERT_EQ(notWatching.root()->width(), PopoverRootView::popoverWidth);
    const QImage before = watching.grabPopover(2);
    const QImage after = notWatching.grabPopover(2);
    const QColor shell = VelmoraPalette::current().color(PaletteColor::shell);

    // The incident card: the same place in both, but nearer the card's colour when out of date.
    const auto cardArea = [](const PopoverHost& host) {
        const QWidget* card = findByObjectName(host.root(), "incidentSummaryCard");
        return QRect(card->mapTo(host.root(), QPoint()), card->size());
    };
    const QRect wasCard = cardArea(watching);
    const QRect isCard = cardArea(notWatching);
    ASSERT_FALSE(isCard.isEmpty());
    const double fresh = meanDistance(before, wasCard, shell);
    const double faint = meanDistance(after, isCard, shell);
    EXPECT_LT(faint, fresh * 0.65) << "fresh " << fresh << ", out of date " << faint;

    // The notice is painted on the warm surface, inside the card.
    const QWidget* notice = notWatching.root()->notWatchingPanel();
    const QPoint inside =
        notice->mapTo(notWatching.root(), QPoint(notice->width() - 6, notice->height() / 2));
    EXPECT_TRUE(testing::colorsClose(testing::pixelAt(after, inside),
                                     VelmoraPalette::current().color(PaletteColor::warmSurface),
                                     10))
        << testing::pixelAt(after, inside).name().toStdString();
    EXPECT_TRUE(notWatching.root()->card()->geometry().contains(
        QRect(notice->mapTo(notWatching.root(), QPoint()), notice->size())));
}

INSTANTIATE_TEST_SUITE_P(Appearances, NotWatchingPictureTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "dark" : "light");
                         });

// ---- From the view model ----

class NoSubscription final : public Subscription {};

// The mock's canned content, with a monitor link the test sets.
class LinkedBackend final : public VelmoraBackend {
public:
    explicit LinkedBackend(PopoverSnapshot initial)
        : inner_(std::make_shared<MockVelmoraBackend>(std::move(initial))) {}

    PopoverSnapshot currentSnapshot() const override { return inner_->currentSnapshot(); }
    std::unique_ptr<Subscription> subscribe(SnapshotHandler handler) override {
        return inner_->subscribe(std::move(handler));
    }
    void dispatch(const std::string& id, const std::string& key) override {
        inner_->dispatch(id, key);
    }
    void dispatch(ShellCommand command) override { inner_->dispatch(command); }
    void fetchAdvancedHistory(std::optional<std::string> key, HistoryCompletion done) override {
        inner_->fetchAdvancedHistory(std::move(key), std::move(done));
    }
    void updateRefreshInterval(double seconds) override { inner_->updateRefreshInterval(seconds); }
    void updateStorageMode(SettingsStorageMode mode) override { inner_->updateStorageMode(mode); }
    void updateEvidenceCaptureEnabled(bool on) override {
        inner_->updateEvidenceCaptureEnabled(on);
    }

    MonitorLinkState currentMonitorLink() const override { return link_; }
    std::unique_ptr<Subscription> subscribeMonitorLink(MonitorLinkHandler handler) override {
        handler_ = std::move(handler);
        handler_(link_);
        return std::make_unique<NoSubscription>();
    }
    void restartMonitor() override { ++restarts; }

    void publishLink(const MonitorLinkState& state) {
        link_ = state;
        if (handler_) {
            handler_(state);
        }
    }

    int restarts = 0;

private:
    std::shared_ptr<MockVelmoraBackend> inner_;
    MonitorLinkState link_;
    MonitorLinkHandler handler_;
};

class NotWatchingBindingTest : public ::testing::Test {
protected:
    NotWatchingBindingTest()
        : scheduler(std::make_shared<ManualScheduler>()),
          backend(std::make_shared<LinkedBackend>(ScenarioLibrary::listSuspects())),
          viewModel(PopoverViewModel::create(backend, scheduler, VerdictTooltipCatalog{},
                                             std::make_shared<MemoryVerdictTooltipDismissalStore>(),
                                             10s, 4s)),
          binding(root, viewModel, [] {}) {
        scheduler->runPending();
        root.show();
    }

    // The monitor killed now, the next try in `nextIn`, the last good answer `age` ago.
    void killMonitor(std::chrono::nanoseconds nextIn, std::chrono::nanoseconds age) {
        MonitorLinkState state =
            link(MonitorLinkCause::killedBySignal, 9, MonitorRecovery::scheduled);
        state.asOf = scheduler->now();
        state.nextAttemptAt = state.asOf + nextIn;
        state.lastGoodAnswerAt = state.asOf - age;
        publish(state);
    }
    void publish(const MonitorLinkState& state) {
        backend->publishLink(state);
        scheduler->runPending();
    }
    QString detail() const {
        return textOf(&root, "notWatchingDetail").replace(QChar(0x00a0), QLatin1Char(' '));
    }

    std::shared_ptr<ManualScheduler> scheduler;
    std::shared_ptr<LinkedBackend> backend;
    std::shared_ptr<PopoverViewModel> viewModel;
    PopoverRootView root;
    PopoverRootBinding binding;
};

TEST_F(NotWatchingBindingTest, CountsDownOnceASecondOnlyWhileNotWatchingAndClearsOnTheFirstAnswer) {
    // Healthy: no notice, and the binding keeps no timer.
    EXPECT_FALSE(shown(&root, "notWatchingNotice"));
    const std::size_t healthyTimers = scheduler->scheduledTimerCount();

    killMonitor(4s, 50s);
    ASSERT_TRUE(shown(&root, "notWatchingNotice"));
    EXPECT_EQ(detail(), "Monitor killed by signal 9 \u00b7 next try in 4 s");
    EXPECT_EQ(textOf(&root, "notWatchingLastUpdated"), "Last updated 50 s ago");
    EXPECT_TRUE(root.showsRowsOutOfDate());
    EXPECT_EQ(scheduler->scheduledTimerCount(), healthyTimers + 1);

    // Time passes without any change from the view model: the texts follow it anyway, and a
    // second that changes nothing on screen repaints nothing.
    testing::settle();
    testing::PaintCounter paints(&root);
    scheduler->advance(1s);
    EXPECT_EQ(detail(), "Monitor killed by signal 9 \u00b7 next try in 3 s");
    scheduler->advance(9s);
    EXPECT_EQ(detail(), "Monitor killed by signal 9 \u00b7 next try now");
    EXPECT_EQ(textOf(&root, "notWatchingLastUpdated"), "Last updated 1 min ago");
    testing::settle();
    paints.reset();
    scheduler->advance(1s); // still "now", still "1 min ago"
    testing::settle();
    EXPECT_EQ(paints.count(), 0);

    // The restart button goes to the backend.
    findByObjectName<ActionCapsuleButton>(&root, "restartMonitorButton")->click();
    EXPECT_EQ(backend->restarts, 1);

    // The first good answer: everything back, and no timer left behind.
    MonitorLinkState watching;
    watching.asOf = scheduler->now();
    publish(watching);
    EXPECT_FALSE(shown(&root, "notWatchingNotice"));
    EXPECT_FALSE(root.showsRowsOutOfDate());
    EXPECT_TRUE(shown(&root, "summaryStrip"));
    EXPECT_EQ(scheduler->scheduledTimerCount(), healthyTimers);
}

TEST_F(NotWatchingBindingTest, AStartingMonitorHasNoDataToShow) {
    MonitorLinkState state = link(MonitorLinkCause::starting, 0, MonitorRecovery::none);
    state.asOf = scheduler->now();
    publish(state);
    EXPECT_FALSE(renderStateOf(*viewModel).hasData());
    EXPECT_FALSE(shown(&root, "snapshotArea"));
    EXPECT_EQ(textOf(&root, "notWatchingTitle"), "Velmora is starting its monitor\u2026");
    killMonitor(1s, 0s); // a monitor that answered once has data, shown as out of date
    EXPECT_TRUE(renderStateOf(*viewModel).hasData());
    EXPECT_TRUE(shown(&root, "snapshotArea"));
    EXPECT_TRUE(root.showsRowsOutOfDate());
}

TEST_F(NotWatchingBindingTest, GivenUpItWaitsForThePerson) {
    MonitorLinkState state = link(MonitorLinkCause::exited, 3, MonitorRecovery::gaveUp);
    state.asOf = scheduler->now();
    publish(state);
    EXPECT_EQ(detail(), "Monitor stopped with status 3 \u00b7 gave up after 5 tries");
    EXPECT_EQ(textOf(&root, "notWatchingLastUpdated"), "No data yet");
    findByObjectName<ActionCapsuleButton>(&root, "restartMonitorButton")->click();
    EXPECT_EQ(backend->restarts, 1);
}

} // namespace
} // namespace velmora
