// SPDX-License-Identifier: GPL-3.0-or-later
// Every surface in the pseudo-language the build makes (every letter accented, every text 40 %
// longer, in brackets): a text without brackets was never translated, a text cut off would be
// cut off in a longer language too. Each surface is built at its real size from a monitor that
// sends its longest texts; what the monitor sends is shown as it comes and may stand outside
// the brackets. A new surface is one more entry in surfaces().
#include "ComposedSnapshot.h"
#include "WindowTestSupport.h"
#include "app/AppTranslations.h"
#include "app/ApplicationMenu.h"
#include "app/AuxiliaryWindows.h"
#include "app/LaunchAtLogin.h"
#include "app/NoTrayHint.h"
#include "app/PopoverWindow.h"
#include "app/SettingsWindow.h"
#include "demo/MockVelmoraBackend.h"
#include "demo/ScenarioLibrary.h"
#include "model/Codec.h"
#include "monitor/compose/ActionWording.h"
#include "monitor/compose/WhereSection.h"
#include "monitor/where/TraceAccess.h"
#include "state/IncidentFacts.h"
#include "state/ManualScheduler.h"
#include "state/NotificationText.h"
#include "state/PopoverViewModel.h"
#include "state/ReasonTexts.h"
#include "state/VerdictTooltipCatalog.h"
#include "support/LayoutAudit.h"
#include "support/TranslationAudit.h"
#include "views/detail/DiagnosticsDisclosure.h"
#include "views/help/VerdictOnboardingTooltip.h"
#include "views/kit/VelmoraText.h"
#include "views/popover/NotWatchingNotice.h"
#include "views/popover/PopoverHost.h"
#include "views/popover/PopoverRootView.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <set>

using namespace velmora;
using namespace velmora::testing;
using namespace std::chrono_literals;

namespace {

// Proper names, shown the same in every language.
const QStringList properNames{QStringLiteral("Velmora")};

// Every string the monitor sent, as the surfaces may show it unchanged.
void collectStrings(const Json& json, QStringList& into) {
    if (json.is_string()) {
        into << QString::fromStdString(json.get<std::string>());
    }
    if (json.is_structured()) {
        for (const auto& item : json) {
            collectStrings(item, into);
        }
    }
}

// A surface on screen and the texts on it that came from elsewhere.
struct Shown {
    std::shared_ptr<QWidget> root;
    QStringList asSent;
};

// Everything a surface needs: the monitor's longest texts behind a view model.
struct Monitor {
    PopoverSnapshot snapshot = longTextSnapshot();
    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::shared_ptr<PopoverViewModel> viewModel;

    Monitor() {
        viewModel = PopoverViewModel::create(
            std::make_shared<MockVelmoraBackend>(snapshot), scheduler, {},
            std::make_shared<MemoryVerdictTooltipDismissalStore>(), 10s, 4s);
        scheduler->runPending();
    }

    QStringList asSent() const {
        QStringList texts = properNames;
        collectStrings(encode(snapshot), texts);
        return texts;
    }
};

// The root shown at its opening size, with the monitor it reads kept alive beside it.
template <class W> Shown shown(std::shared_ptr<Monitor> monitor, std::shared_ptr<W> window) {
    window->show();
    QApplication::processEvents();
    return {std::shared_ptr<QWidget>(window, window.get()) /* shares ownership */,
            monitor->asSent()};
}

// `shown` is what the desktop answers to a test notification.
std::shared_ptr<SettingsWindow> settingsWindow(const std::shared_ptr<Monitor>& monitor,
                                               bool shown = true) {
    SettingsNotifications notifications;
    notifications.sendTest = [shown](std::function<void(bool)> done) { done(shown); };
    return std::shared_ptr<SettingsWindow>(
        new SettingsWindow(monitor->viewModel, std::make_shared<LaunchAtLogin>(std::nullopt, false),
                           "0.1.0", notifications),
        [monitor](SettingsWindow* w) { delete w; });
}

// A tab with every disclosure open and, on the Monitor tab, the answer to a test notification.
Shown settingsTab(int tab, bool notificationShown = true) {
    auto monitor = std::make_shared<Monitor>();
    auto window = settingsWindow(monitor, notificationShown);
    window->findChild<QTabWidget*>(QStringLiteral("settingsTabs"))->setCurrentIndex(tab);
    Shown result = shown(monitor, window);
    for (auto* header : window->findChildren<QToolButton*>(QStringLiteral("disclosureHeader"))) {
        header->setChecked(true);
    }
    window->findChild<QPushButton*>(QStringLiteral("testNotificationButton"))->click();
    QApplication::processEvents();
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("testNotificationResult"))->isVisible(),
              tab == 0);
    return result;
}

Shown trustWindow() {
    auto monitor = std::make_shared<Monitor>();
    return shown(monitor,
                 std::shared_ptr<TrustAccessWindow>(new TrustAccessWindow(monitor->viewModel),
                                                    [monitor](TrustAccessWindow* w) { delete w; }));
}

Shown helpWindow() {
    auto monitor = std::make_shared<Monitor>();
    return shown(monitor, std::make_shared<VerdictHelpWindow>());
}

Shown trayMenu() {
    auto menu = std::make_shared<ApplicationMenu>();
    menu->setVersion(QStringLiteral("0.1.0"));
    return {menu, properNames};
}

// The window a desktop without a tray gets, with the hint for `desktop`; only the hint is
// checked here (the popover under it is a surface of its own).
Shown noTrayHintFor(const char* desktop) {
    auto monitor = std::make_shared<Monitor>();
    auto window = std::shared_ptr<PopoverWindow>(
        new PopoverWindow(monitor->viewModel, PopoverWindow::Style::window, {}),
        [monitor](PopoverWindow* w) { delete w; });
    window->present();
    window->showHint(QString::fromStdString(noTrayHint(desktop)), [] {});
    QApplication::processEvents();
    auto* hint = window->findChild<QFrame*>(QStringLiteral("noTrayHint"));
    return {std::shared_ptr<QWidget>(window, hint), properNames};
}

// The explanation the popover shows the first time a verdict appears, at the width of the
// popover's card (the popover less its two margins of 14 and 16 pixels a side).
Shown onboardingTooltip(const char* id) {
    auto tooltip = std::make_shared<VerdictOnboardingTooltip>();
    tooltip->setTooltip(*VerdictTooltipCatalog::bundled().find(id));
    // As tall as its lines ask at that width, as the card's layout makes it.
    const int width = PopoverRootView::popoverWidth - 2 * (14 + 16);
    tooltip->resize(width, tooltip->hasHeightForWidth() ? tooltip->heightForWidth(width)
                                                        : tooltip->sizeHint().height());
    tooltip->show();
    QApplication::processEvents();
    return {tooltip, properNames};
}

// The monitor's texts that still travel as English alone, by the field that carries them:
// shown as they come. Each field leaves this list once the app composes its text from codes.
const std::set<std::string> stillEnglish{
    // None: every text of the monitor's travels with its code and figures now.
};

// Names the monitor sends (apps, processes, commands to copy, command lines, paths, the frames
// of a program's stack): never translated.
const std::set<std::string> names{"title",   "suspectTitle", "name", "command",
                                  "cmdline", "path",         "stack"};

// Every string under a field of `fields`, wherever it sits in `json`.
void collectFields(const Json& json, const std::set<std::string>& fields, QStringList& into) {
    if (json.is_object()) {
        for (const auto& [key, value] : json.items()) {
            if (fields.count(key) != 0) {
                collectStrings(value, into);
            } else {
                collectFields(value, fields, into);
            }
        }
    } else if (json.is_array()) {
        for (const auto& item : json) {
            collectFields(item, fields, into);
        }
    }
}

QStringList shownAsSent(const PopoverRenderState& state) {
    QStringList texts = properNames;
    Json sent = encode(state.snapshot);
    if (state.visibleActionFeedback) {
        sent["actionFeedback"] = encode(*state.visibleActionFeedback);
    }
    if (state.advancedHistory) {
        sent["advancedHistory"] = encode(*state.advancedHistory);
    }
    collectFields(sent, stillEnglish, texts);
    collectFields(sent, names, texts);
    return texts;
}

// The popover at its real width of 448 pixels, hosted as the app hosts it, showing `state`.
Shown popover(const PopoverRenderState& state) {
    auto host = std::make_shared<PopoverHost>();
    host->present(state);
    return {std::shared_ptr<QWidget>(host, host->root()), shownAsSent(state)};
}

PopoverRenderState live(Session session, bool withDetail = false) {
    PopoverRenderState state;
    state.snapshot = composedSnapshot(session, withDetail);
    return state;
}

// The detail with its diagnostics unfolded.
Shown detailWithDiagnostics() {
    Shown shown = popover(live(Session::leaking, true));
    auto* diagnostics = shown.root->findChild<DiagnosticsDisclosure*>();
    EXPECT_NE(diagnostics, nullptr);
    if (diagnostics != nullptr) {
        diagnostics->setExpanded(true);
        settleLayouts();
    }
    return shown;
}

// The banner and the question as the monitor writes them, with their codes: the longest of
// each, so that a longer language shows whether they still fit.
PopoverRenderState withFeedback() {
    PopoverRenderState state = live(Session::leaking);
    state.visibleActionFeedback = codedFeedback(
        ActionFeedbackKind::warning, FeedbackCode::recoveryRequested, {.name = "editor"});
    state.visibleActionFeedback->id = "feedback-1";
    return state;
}

PopoverRenderState withConfirmation() {
    PopoverRenderState state = live(Session::leaking);
    state.snapshot.destructiveConfirmation = codedConfirmation(
        ConfirmationCode::restartWithTracking, {.name = "editor", .seconds = 300},
        codedAction(ActionId::confirmRestartWithTracking, ActionLabel::restartWithTracking,
                    ActionStyle::primary, "app:editor"),
        codedAction(ActionId::cancelWhereItLeaks, ActionLabel::cancel, ActionStyle::secondary,
                    "app:editor"));
    return state;
}

// The editor's detail with its heap tracking's section as the monitor composes it for
// `capture`.
PopoverRenderState withWhere(const WhereCapture& capture) {
    PopoverRenderState state = live(Session::leaking, true);
    const LiveView view;
    const ConfigStore config("/nonexistent/velmora/config.json");
    const InteractionState interaction;
    MonitorPaths paths;
    paths.home = "/home/ada";
    ComposeContext context{&view, config, interaction, paths};
    context.monotonicNow = 1045;
    EXPECT_TRUE(state.snapshot.selectedDetail);
    if (state.snapshot.selectedDetail) {
        state.snapshot.selectedDetail->whereItGrows = whereBlockOf(context, capture);
    }
    return state;
}

// The editor's detail while heap tracking runs, or once it found where the editor grows.
WhereCapture editorCapture() {
    WhereCapture capture;
    capture.key = "app:editor";
    capture.title = "editor";
    capture.processName = "editor";
    capture.pid = 4242;
    capture.seconds = 180;
    capture.phase = WherePhase::tracking;
    capture.trackingSince = 1000;
    return capture;
}

PopoverRenderState withTracking(bool done) {
    WhereCapture capture = editorCapture();
    if (done) {
        WhereReport report;
        report.pid = 4242;
        report.program = "editor";
        report.trackedSeconds = 180;
        report.processEnded = true;
        report.recording = "/home/ada/.local/share/velmora/artifacts/heaptrack.editor.4242.zst";
        report.leakedBytes = 20'132'659;
        report.sites = {
            {19'000'000,
             73,
             {{"leakyCacheInsert(unsigned long)", "/src/editor/cache.cpp", 5, "/usr/bin/editor"}},
             0},
            {3'000'000, 1, {{"grow()", "", 0, "libcache.so.1"}}, 0}};
        capture.phase = WherePhase::finished;
        capture.report = std::move(report);
    }
    return withWhere(capture);
}

// The editor's detail once the kernel's ptrace rule refused the tracking, with the commands a
// person can run instead.
PopoverRenderState withRefusal() {
    TraceFacts facts;
    facts.pid = 4242;
    facts.exists = true;
    facts.name = "editor";
    facts.ptraceScope = 1;
    WhereCapture capture = editorCapture();
    capture.phase = WherePhase::finished;
    capture.failure = failureOf(decideTraceAccess(facts, 0, 0, 1));
    return withWhere(capture);
}

// The history as the store words it, with its codes.
PopoverRenderState history(bool offenderOpened) {
    PopoverRenderState state = live(Session::leaking);
    state.surface = PopoverSurface::advanced;
    state.advancedHistory = composedHistory(offenderOpened);
    return state;
}

// The history before the store answered, with nothing in it, and when it could not be read.
PopoverRenderState historyWaiting(bool loading, std::optional<std::string> error,
                                  bool emptyAnswer = false) {
    PopoverRenderState state = live(Session::leaking);
    state.surface = PopoverSurface::advanced;
    state.isAdvancedHistoryLoading = loading;
    state.advancedHistoryError = std::move(error);
    if (emptyAnswer) {
        state.advancedHistory = AdvancedHistorySnapshot{};
    }
    return state;
}

// Before the monitor's first answer.
PopoverRenderState starting() {
    PopoverRenderState state;
    state.monitorLink.cause = MonitorLinkCause::starting;
    state.notWatching = notWatchingNotice(state.monitorLink, std::nullopt, std::nullopt);
    return state;
}

PopoverRenderState notWatching(MonitorLinkCause cause, MonitorRecovery recovery) {
    using namespace std::chrono_literals;
    PopoverRenderState state = live(Session::leaking);
    MonitorLinkState link;
    link.cause = cause;
    link.code = 9;
    link.recovery = recovery;
    state.notWatching = notWatchingNotice(link, 4s, 2min);
    return state;
}

const std::map<std::string, std::function<Shown()>>& surfaces() {
    static const auto all = [] {
        std::map<std::string, std::function<Shown()>> named{
            {"SettingsMonitor", [] { return settingsTab(0); }},
            {"SettingsMonitorNoNotificationService", [] { return settingsTab(0, false); }},
            {"SettingsLifecycle", [] { return settingsTab(1); }},
            {"TrustWindow", trustWindow},
            {"HelpWindow", helpWindow},
            {"TrayMenu", trayMenu},
            {"PopoverIncident", [] { return popover(live(Session::leaking)); }},
            {"PopoverCalm", [] { return popover(live(Session::calm)); }},
            {"PopoverSelfCheckRows", [] { return popover(live(Session::selfCheck)); }},
            {"PopoverDetail", [] { return popover(live(Session::leaking, true)); }},
            {"PopoverDetailDiagnostics", detailWithDiagnostics},
            {"PopoverDetailTracking", [] { return popover(withTracking(false)); }},
            {"PopoverDetailWhereItGrows", [] { return popover(withTracking(true)); }},
            {"PopoverDetailTrackingRefused", [] { return popover(withRefusal()); }},
            {"PopoverActionFeedback", [] { return popover(withFeedback()); }},
            {"PopoverConfirmation", [] { return popover(withConfirmation()); }},
            {"PopoverHistory", [] { return popover(history(false)); }},
            {"PopoverHistoryOffender", [] { return popover(history(true)); }},
            {"PopoverHistoryLoading", [] { return popover(historyWaiting(true, {})); }},
            {"PopoverHistoryEmpty", [] { return popover(historyWaiting(false, {}, true)); }},
            {"PopoverHistoryUnavailable", [] { return popover(historyWaiting(false, {})); }},
            {"PopoverStarting", [] { return popover(starting()); }},
            {"PopoverFirstScan", [] { return popover(live(Session::firstScan)); }},
            {"PopoverNotWatching",
             [] {
                 return popover(
                     notWatching(MonitorLinkCause::killedBySignal, MonitorRecovery::scheduled));
             }},
            {"PopoverMonitorGaveUp",
             [] {
                 return popover(notWatching(MonitorLinkCause::exited, MonitorRecovery::gaveUp));
             }},
        };
        // Test names take letters and digits only.
        for (const auto& [name, id] :
             std::map<std::string, const char*>{{"Watch", "watch"},
                                                {"Suspect", "suspect"},
                                                {"Probable", "probable"},
                                                {"CriticalRunaway", "criticalRunaway"}}) {
            named["VerdictTooltip" + name] = [id = id] { return onboardingTooltip(id); };
        }
        for (const auto& [name, desktop] :
             std::map<std::string, const char*>{{"Gnome", "GNOME"},
                                                {"Kde", "KDE"},
                                                {"Xfce", "XFCE"},
                                                {"Cinnamon", "X-Cinnamon"},
                                                {"Mate", "MATE"},
                                                {"Lxqt", "LXQt"},
                                                {"Sway", "sway"},
                                                {"Other", "weston"}}) {
            named["NoTrayHint" + name] = [desktop = desktop] { return noTrayHintFor(desktop); };
        }
        return named;
    }();
    return all;
}

std::vector<std::string> surfaceNames() {
    std::vector<std::string> names;
    for (const auto& [name, build] : surfaces()) {
        names.push_back(name);
    }
    return names;
}

// The pseudo-language, installed once the application object exists.
class PseudoLanguage : public ::testing::Environment {
public:
    void SetUp() override {
        const QString folder = QStringLiteral(VELMORA_TEST_TRANSLATIONS_DIR);
        ASSERT_TRUE(QFile::exists(folder + QStringLiteral("/velmora_pseudo.qm")))
            << "the build makes " << folder.toStdString() << "/velmora_pseudo.qm";
        ASSERT_EQ(installTranslations({{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "pseudo"}}, folder),
                  QStringLiteral("pseudo"));
    }
};
[[maybe_unused]] auto* const pseudoLanguage =
    ::testing::AddGlobalTestEnvironment(new PseudoLanguage);

class PseudoLocale : public ::testing::TestWithParam<std::string> {};

std::string lines(const std::vector<QString>& findings) {
    std::string text;
    for (const auto& finding : findings) {
        text += finding.toStdString() + "\n";
    }
    return text;
}

TEST_P(PseudoLocale, EveryTextIsTranslatedAndShownWhole) {
    const Shown surface = surfaces().at(GetParam())();
    const QWidget* root = surface.root.get();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(lines(untranslatedTexts(root, surface.asSent)), "");
    EXPECT_EQ(lines(clippedTexts(root)), "");
    EXPECT_EQ(lines(misplacedChildren(root)), "");
    EXPECT_EQ(lines(textOverflows(root)), "");
}

INSTANTIATE_TEST_SUITE_P(Surfaces, PseudoLocale, ::testing::ValuesIn(surfaceNames()),
                         [](const auto& info) { return info.param; });

// Each popover surface shows what it is named for, so the check above never passes over an
// empty popover.
TEST(PseudoLocaleSurfaces, ShowWhatTheyAreNamedFor) {
    const std::map<std::string, QStringList> shownParts{
        {"PopoverIncident",
         {"incidentSummaryCard", "reliefPlanStrip", "supportingFindingsSummary"}},
        {"PopoverCalm", {"recentFindingsHeading"}},
        {"PopoverFirstScan", {"pressurePill", "headroomLabel", "scopeLabel"}},
        {"PopoverSelfCheckRows", {"supportingRows", "verdictPill"}},
        {"PopoverDetail", {"detailView", "whyBlock", "timelineBlock", "artifactTitle"}},
        {"PopoverDetailDiagnostics", {"diagnosticsContent"}},
        {"PopoverDetailTracking", {"whereItGrowsCard", "whereStatus", "whereProgress"}},
        {"PopoverDetailWhereItGrows", {"whereSite:1", "siteHeadline", "whereNote:0"}},
        {"PopoverDetailTrackingRefused", {"whereStatus", "command", "commandExplanation"}},
        {"PopoverActionFeedback", {"actionFeedbackBanner"}},
        {"PopoverHistory", {"advancedHistoryList", "metric30d"}},
        {"PopoverHistoryOffender", {"advancedHistoryDetail", "metricsBlock"}},
        {"PopoverHistoryLoading", {"advancedHistoryLoading"}},
        {"PopoverHistoryEmpty", {"listEmptyState"}},
        {"PopoverNotWatching", {"notWatchingNotice", "restartMonitorButton"}},
    };
    for (const auto& [name, parts] : shownParts) {
        const Shown surface = surfaces().at(name)();
        for (const QString& part : parts) {
            const auto found = surface.root->findChildren<QWidget*>(part);
            EXPECT_TRUE(std::any_of(
                found.begin(), found.end(),
                [&](const QWidget* widget) { return isShownUnder(widget, surface.root.get()); }))
                << name << " shows no " << part.toStdString();
        }
    }
}

// The check itself: what it lets through and what it reports.
// The header's eyebrow is never cut on any popover surface: neither the pressure pill nor the
// scope line under it takes its room, however long they are.
TEST(PseudoLocaleSurfaces, KeepTheHeadersEyebrowWhole) {
    for (const auto& [name, build] : surfaces()) {
        const Shown surface = build();
        for (const auto* eyebrow :
             surface.root->findChildren<VelmoraText*>(QStringLiteral("systemStateEyebrow"))) {
            if (isShownUnder(eyebrow, surface.root.get())) {
                EXPECT_GE(eyebrow->width(), eyebrow->sizeHint().width()) << name;
            }
        }
    }
}

TEST(PseudoLocaleAudit, ReportsTextOutsideBracketsOnly) {
    const QStringList asSent{QStringLiteral("Velmora"), QStringLiteral("3.2 GB now")};
    EXPECT_TRUE(isTranslated(QStringLiteral("[Šéţţîñĝš àéî]"), asSent));
    EXPECT_TRUE(isTranslated(QStringLiteral("[Ṽéŕšîöñ 0.1.0 [ñêšţêđ]]"), asSent));
    EXPECT_TRUE(isTranslated(QStringLiteral("2.5[ š]"), asSent));
    EXPECT_TRUE(isTranslated(QStringLiteral("\u2022 3.2 GB now"), asSent));
    EXPECT_TRUE(isTranslated(QStringLiteral("Velmora \u2014 [Ŵåţċĥîñĝ]"), asSent));
    EXPECT_FALSE(isTranslated(QStringLiteral("Settings"), asSent));
    EXPECT_FALSE(isTranslated(QStringLiteral("[Šéţţîñĝš] now"), asSent));
    EXPECT_FALSE(isTranslated(QStringLiteral("Velmora Settings"), asSent));
    // A sent text with brackets of its own stands whole.
    const QStringList command{QStringLiteral("grep '^[a-f]' maps | head")};
    EXPECT_TRUE(isTranslated(QStringLiteral("grep '^[a-f]' maps | head"), command));
    EXPECT_FALSE(isTranslated(QStringLiteral("grep '^[a-f]' maps | head -n 2"), command));

    QWidget window;
    window.setObjectName(QStringLiteral("window"));
    window.setWindowTitle(QStringLiteral("[Ŵîñđöŵ]"));
    auto* plain = new QLabel(QStringLiteral("Plain English"), &window);
    plain->setObjectName(QStringLiteral("plain"));
    new QLabel(QStringLiteral("[Ţŕåñšĺåţêđ]"), &window);
    window.show();
    EXPECT_EQ(lines(untranslatedTexts(&window, asSent)), "window/plain: \"Plain English\"\n");
}

// Notifications are texts, not widgets: each one's title and body, with the application's
// name and the monitor's figures as they come.
TEST(PseudoLocaleNotifications, AreTranslated) {
    // The row's figures travel with its texts, which are not shown.
    FindingSnapshot row;
    row.key = "firefox";
    row.title = "Firefox";
    row.rate = "+18 MB/min";
    row.growthSpanLabel = "12 min";
    row.footprintLabel = "3.2 GB";
    FindingCodes& figures = row.codes.emplace();
    figures.rateKiBPerSecond = 307.2;
    figures.growthSeconds = 720;
    figures.footprintKiB = 3.2 * 1024 * 1024;
    figures.confidence = ConfidenceLevel::high;
    figures.score = 72;
    MemoryForecastSnapshot forecast;
    forecast.exhaustionSeconds = 600;
    OutOfMemoryKillSnapshot kill;
    kill.title = "Firefox";
    kill.message = "Ended by the out-of-memory killer at 14:02 with 3.2 GB.";
    kill.messageCode = RecentExplanationCodes{RecentExplanationCode::outOfMemoryKill, 1.7e9,
                                              3.2 * 1024 * 1024, std::nullopt};
    const QStringList asSent{QStringLiteral("Firefox")};

    std::vector<Notification> notifications;
    for (const auto verdict : {FindingVerdict::watch, FindingVerdict::suspect,
                               FindingVerdict::probable, FindingVerdict::criticalRunaway}) {
        row.verdict = verdict;
        notifications.push_back(findingNotification(row));
    }
    notifications.push_back(exhaustionNotification(forecast));
    forecast.exhaustionSeconds = 20;
    notifications.push_back(exhaustionNotification(forecast));
    forecast.killerText = "systemd-oomd acts above 60% memory pressure for 30 s";
    KillerCodes& killer = forecast.killer.emplace();
    killer.code = KillerCode::systemdOomd;
    killer.pressureFraction = 0.6;
    killer.seconds = 30;
    notifications.push_back(exhaustionNotification(forecast));
    notifications.push_back(killNotification(kill));
    notifications.push_back(testNotification());
    const std::vector<Notification> held = notifications;
    notifications.push_back(summaryNotification({held.front()}));
    notifications.push_back(summaryNotification({held.front(), held.front()}));
    notifications.push_back(summaryNotification({held.back()}));
    notifications.push_back(summaryNotification(held));

    for (const auto& notification : notifications) {
        const QString summary = QString::fromStdString(notification.summary);
        EXPECT_TRUE(isTranslated(summary, asSent)) << summary.toStdString();
        // A held-back summary's body lists the titles it stands for, each translated.
        for (const QString& line : QString::fromStdString(notification.body).split('\n')) {
            EXPECT_TRUE(isTranslated(line, asSent)) << line.toStdString();
        }
    }
}

} // namespace
