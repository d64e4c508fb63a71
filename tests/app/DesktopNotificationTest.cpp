// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop notifications over a real private session bus: the relay, the D-Bus client and a
// fake notification server on a second connection, with the view model over a fake backend.
#include "FakeNotificationServer.h"
#include "FakeVelmoraBackend.h"
#include "PrivateSessionBus.h"
#include "WaitUntil.h"
#include "app/NotificationMemoryFile.h"
#include "app/NotificationRelay.h"
#include "state/ManualScheduler.h"
#include "state/PopoverViewModel.h"
#include "tests/link/support/TestSupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;
using namespace std::chrono_literals;

namespace {

FindingSnapshot firefox(FindingVerdict verdict) {
    FindingSnapshot row;
    row.key = "firefox";
    row.title = "Firefox";
    row.verdict = verdict;
    row.rate = "+18 MB/min";
    row.growthSpanLabel = "12 min";
    row.footprintLabel = "3.2 GB";
    row.exhaustionEstimate = "Memory runs out in about 40 min at this rate";
    return row;
}

FindingSnapshot family(const std::string& key) {
    FindingSnapshot row;
    row.key = key;
    row.title = key;
    row.verdict = FindingVerdict::probable;
    return row;
}

const QStringList fullCapabilities{QStringLiteral("body"), QStringLiteral("actions")};

// One session: a private bus, optionally a server with `capabilities`, and velmora's relay on
// its own connection to that bus.
class Session {
public:
    explicit Session(std::optional<QStringList> capabilities = fullCapabilities) {
        if (bus.address().isEmpty()) {
            return;
        }
        if (capabilities) {
            server = std::make_unique<FakeNotificationServer>(bus.address(), *capabilities);
        }
        viewModel = PopoverViewModel::create(backend, scheduler, {},
                                             std::make_shared<MemoryVerdictTooltipDismissalStore>(),
                                             10s, 4s);
        scheduler->runPending();
        startRelay();
    }
    ~Session() { stopRelay(); }

    // The relay as the app starts it, on a connection of its own, with `memory` as its store.
    void startRelay(std::shared_ptr<NotificationMemoryStore> memory = {}) {
        static int clients = 0;
        clientName_ = QStringLiteral("velmora-client-%1").arg(++clients);
        auto notifier = std::make_unique<DesktopNotifier>(
            QDBusConnection::connectToBus(bus.address(), clientName_),
            [this](std::string_view line) { diagnostics.emplace_back(line); });
        relay = std::make_unique<NotificationRelay>(
            viewModel, scheduler, settings, std::move(notifier), [this] { ++popoverShown; },
            std::move(memory));
    }
    void stopRelay() {
        relay.reset();
        if (!clientName_.isEmpty()) {
            QDBusConnection::disconnectFromBus(clientName_);
            clientName_.clear();
        }
    }

    bool ready() const { return !bus.address().isEmpty() && (!server || server->isServing()); }

    // One poll of the monitor: a snapshot with `rows` that differs from the last one in its
    // footer, as every live poll does.
    void poll(std::vector<FindingSnapshot> rows) {
        PopoverSnapshot snapshot;
        snapshot.rows = std::move(rows);
        snapshot.footerTelemetry.storageText = "poll " + std::to_string(++polls_);
        scheduler->advance(1s);
        backend->publish(snapshot);
        scheduler->runPending();
    }

    // Sends the test notification and waits until it has been answered: everything sent
    // before it has reached the server by then.
    bool sync() {
        std::optional<bool> shown;
        relay->sendTest([&shown](bool ok) { shown = ok; });
        return waitUntil([&] { return shown.has_value(); }) && *shown;
    }

    // The server's notifications without the test ones sync() sent.
    std::vector<ReceivedNotification> alerts() const {
        std::vector<ReceivedNotification> found;
        for (const auto& n : server->received()) {
            if (n.summary != QStringLiteral("Velmora notifications are on")) {
                found.push_back(n);
            }
        }
        return found;
    }

    PrivateSessionBus bus;
    std::unique_ptr<FakeNotificationServer> server;
    std::shared_ptr<FakeVelmoraBackend> backend = std::make_shared<FakeVelmoraBackend>();
    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::shared_ptr<PopoverViewModel> viewModel;
    std::shared_ptr<AppSettings> settings =
        std::make_shared<AppSettings>(std::make_shared<MemoryKeyValueStore>());
    std::vector<std::string> diagnostics;
    int popoverShown = 0;
    std::unique_ptr<NotificationRelay> relay;

private:
    QString clientName_;
    int polls_ = 0;
};

#define REQUIRE_SESSION(session)                                                                   \
    if (!PrivateSessionBus::daemonInstalled()) {                                                   \
        GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus-daemon); these "        \
                        "tests need a private session bus";                                        \
    }                                                                                              \
    ASSERT_TRUE((session).ready()) << "the private bus or the fake server did not start"

} // namespace

// What the server receives: one notification per incident however many polls repeat it, with
// the app's name, icon, desktop entry and buttons; the escalation replaces it, critical; past
// three in ten minutes one summary stands for the rest, then nothing.
TEST(DesktopNotifications, OncePerIncidentEscalationReplacesAndTheCapHolds) {
    Session s;
    REQUIRE_SESSION(s);
    for (int poll = 0; poll < 40; ++poll) {
        s.poll({firefox(FindingVerdict::probable)});
    }
    ASSERT_TRUE(s.sync());
    auto alerts = s.alerts();
    ASSERT_EQ(alerts.size(), 1u);
    const ReceivedNotification first = alerts[0];
    EXPECT_EQ(first.appName, "Velmora");
    EXPECT_EQ(first.appIcon, "velmora");
    EXPECT_EQ(first.replacesId, 0u);
    EXPECT_EQ(first.summary, "Probable leak in Firefox");
    EXPECT_EQ(first.body, "+18 MB/min for 12 min \u00B7 3.2 GB now \u00B7 memory runs out in about "
                          "40 min at this rate");
    // One "Show": the notification itself.
    EXPECT_EQ(first.actions, (QStringList{"default", "Show", "capture", "Capture evidence",
                                          "ignore", "Ignore for 24 h"}));
    EXPECT_EQ(first.hints.value("urgency").typeId(), QMetaType::UChar);
    EXPECT_EQ(first.hints.value("urgency").toInt(), 1);
    EXPECT_EQ(first.hints.value("desktop-entry").toString(), "velmora");
    EXPECT_EQ(first.expireTimeout, -1);
    // The picture in the README is drawn from this dump.
    EXPECT_TRUE(s.server->dump(QStringLiteral(VELMORA_NOTIFICATION_DUMP)));

    for (int poll = 0; poll < 10; ++poll) {
        s.poll({firefox(FindingVerdict::criticalRunaway)});
    }
    ASSERT_TRUE(s.sync());
    alerts = s.alerts();
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[1].summary, "Runaway memory growth in Firefox");
    EXPECT_EQ(alerts[1].replacesId, first.id);
    EXPECT_EQ(alerts[1].hints.value("urgency").toInt(), 2);

    // One counts towards the cap (the critical one does not): two more fit, a summary stands
    // for the other two, then nothing.
    std::vector<FindingSnapshot> rows{firefox(FindingVerdict::criticalRunaway)};
    for (const char* key : {"slack", "code", "teams", "zoom"}) {
        rows.push_back(family(key));
    }
    for (int poll = 0; poll < 10; ++poll) {
        s.poll(rows);
    }
    rows.push_back(family("spotify"));
    s.poll(rows);
    ASSERT_TRUE(s.sync());
    alerts = s.alerts();
    ASSERT_EQ(alerts.size(), 5u);
    EXPECT_EQ(alerts[2].summary, "Probable leak in slack");
    EXPECT_EQ(alerts[3].summary, "Probable leak in code");
    EXPECT_EQ(alerts[4].summary, "2 more suspects");
    EXPECT_EQ(alerts[4].body, "Probable leak in teams\nProbable leak in zoom");
    EXPECT_TRUE(s.diagnostics.empty());
}

// Once the window's summary has gone out, a family that turns into a runaway is still told at
// once, critical, replacing its first notification; and what the cap held back after the
// summary is told when the window has room again.
TEST(DesktopNotifications, ARunawayAfterTheWindowsSummaryIsDeliveredAndTheHeldBackFollow) {
    Session s;
    REQUIRE_SESSION(s);
    std::vector<FindingSnapshot> rows{firefox(FindingVerdict::probable)};
    for (const char* key : {"slack", "code", "teams", "zoom"}) {
        rows.push_back(family(key));
    }
    s.poll(rows);
    rows.push_back(family("spotify")); // after the summary: held back
    s.poll(rows);
    ASSERT_TRUE(s.sync());
    auto alerts = s.alerts();
    ASSERT_EQ(alerts.size(), 4u);
    EXPECT_EQ(alerts[3].summary, "2 more suspects");

    rows[0] = firefox(FindingVerdict::criticalRunaway);
    s.poll(rows);
    ASSERT_TRUE(s.sync());
    alerts = s.alerts();
    ASSERT_EQ(alerts.size(), 5u);
    EXPECT_EQ(alerts[4].summary, "Runaway memory growth in Firefox");
    EXPECT_EQ(alerts[4].hints.value("urgency").toInt(), 2);
    EXPECT_EQ(alerts[4].replacesId, alerts[0].id);

    s.scheduler->advance(NotificationPolicy::capWindow);
    s.poll(rows);
    ASSERT_TRUE(s.sync());
    alerts = s.alerts();
    ASSERT_EQ(alerts.size(), 6u);
    EXPECT_EQ(alerts[5].summary, "Probable leak in spotify");
}

// The notifier follows the server: the oldest shown id is forgotten first, whatever its
// number; when another server takes the name it asks for its capabilities again and forgets
// the old one's ids, so nothing the new one shows is replaced by mistake.
TEST(DesktopNotifications, TheNotifierFollowsTheServer) {
    Session s;
    REQUIRE_SESSION(s);
    // 32 notifications numbered from 1000, then one numbered 5: the one shown first goes.
    s.server->setNextId(1000);
    for (int i = 0; i < 33; ++i) {
        if (i == 32) {
            s.server->setNextId(5);
        }
        s.relay->sendTest();
    }
    ASSERT_TRUE(s.sync());
    s.poll({firefox(FindingVerdict::probable)});
    ASSERT_TRUE(s.sync());
    ASSERT_EQ(s.alerts().size(), 1u);
    const uint firefoxId = s.alerts()[0].id;
    s.server->invokeAction(firefoxId, QStringLiteral("default"));
    ASSERT_TRUE(waitUntil([&] { return s.popoverShown == 1; }))
        << "the newest notification was forgotten";

    // The server goes and another one, without buttons, takes the name.
    const QString oldOwner = s.server->uniqueName();
    s.server.reset();
    ASSERT_TRUE(waitUntil([&] { return s.relay->notifier().capabilities().isEmpty(); }));
    s.server = std::make_unique<FakeNotificationServer>(s.bus.address(), QStringList{"body"});
    ASSERT_TRUE(s.server->isServing());
    ASSERT_NE(s.server->uniqueName(), oldOwner);
    ASSERT_TRUE(waitUntil([&] {
        return s.relay->notifier().capabilities() == QStringList{QStringLiteral("body")};
    })) << "the capabilities were not asked again";
    s.server->setNextId(firefoxId); // the new server happens to hand out the same numbers
    s.poll({firefox(FindingVerdict::criticalRunaway)});
    ASSERT_TRUE(s.sync());
    ASSERT_EQ(s.alerts().size(), 1u);
    EXPECT_EQ(s.alerts()[0].replacesId, 0u);
    EXPECT_TRUE(s.alerts()[0].actions.isEmpty());
    // Clicked, the new server's notification under that number is the new one.
    s.server->invokeAction(s.alerts()[0].id, QStringLiteral("default"));
    ASSERT_TRUE(waitUntil([&] { return s.popoverShown == 2; }));
    EXPECT_EQ(s.backend->takeCalls().back(), "dispatch select_detail::firefox");
}

// A restarted app does not tell again what it told: the memory is kept in a file, with the
// ids of what is on screen; nothing is reviewed before the monitor's first answer, so its
// placeholder does not make a kill look new. A corrupt file means starting fresh.
TEST(DesktopNotifications, ARestartedAppDoesNotNotifyAgain) {
    Session s;
    REQUIRE_SESSION(s);
    QTemporaryDir stateHome;
    ASSERT_TRUE(stateHome.isValid());
    const auto path = NotificationMemoryFile::defaultPath(
        {{"XDG_STATE_HOME", stateHome.path().toStdString()}, {"HOME", "/nonexistent"}});
    EXPECT_EQ(path, std::filesystem::path(stateHome.path().toStdString()) / "velmora" /
                        "notifications.json");
    s.stopRelay();
    auto memoryFile = std::make_shared<NotificationMemoryFile>(path);
    s.startRelay(memoryFile);
    OutOfMemoryKillSnapshot kill{"k1", "slack", "Slack", "1.2 GB", "Ended at 14:02."};
    PopoverSnapshot ongoing;
    ongoing.rows = {firefox(FindingVerdict::probable), family("code")};
    ongoing.outOfMemoryKills = {kill};
    s.backend->publish(ongoing);
    s.scheduler->runPending();
    ASSERT_TRUE(s.sync());
    ASSERT_EQ(s.alerts().size(), 3u);
    const uint firefoxId = s.alerts()[1].id;
    memoryFile->flush(); // written on a thread of its own
    memoryFile.reset();  // the relay's, from now on
    ASSERT_TRUE(std::filesystem::exists(path));
    // The ids are kept with the bus name of the server that gave them.
    const auto kept = NotificationMemoryFile(path).load();
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->serverOwner, s.server->uniqueName().toStdString());

    // Quit and start again: the monitor starts, then answers with the same incidents.
    s.stopRelay();
    MonitorLinkState starting;
    starting.cause = MonitorLinkCause::starting;
    s.backend->publishLink(starting);
    s.backend->publish(PopoverSnapshot{});
    s.scheduler->runPending();
    s.startRelay(std::make_shared<NotificationMemoryFile>(path));
    s.backend->publish(ongoing);
    s.scheduler->runPending();
    s.backend->publishLink(MonitorLinkState{});
    s.scheduler->advance(1s);
    ASSERT_TRUE(s.sync());
    EXPECT_EQ(s.alerts().size(), 3u) << "told again after a restart";
    s.poll({firefox(FindingVerdict::criticalRunaway), family("code")});
    ASSERT_TRUE(s.sync());
    ASSERT_EQ(s.alerts().size(), 4u);
    EXPECT_EQ(s.alerts()[3].replacesId, firefoxId);

    // Quit; the desktop's notification server is replaced meanwhile; start again. The ids kept
    // are the old server's: nothing the new one shows is replaced by them.
    s.stopRelay();
    s.server.reset();
    s.server = std::make_unique<FakeNotificationServer>(s.bus.address(), fullCapabilities);
    ASSERT_TRUE(s.server->isServing());
    s.startRelay(std::make_shared<NotificationMemoryFile>(path));
    FindingSnapshot codeRunaway = family("code");
    codeRunaway.verdict = FindingVerdict::criticalRunaway;
    s.poll({firefox(FindingVerdict::criticalRunaway), codeRunaway});
    ASSERT_TRUE(s.sync());
    ASSERT_EQ(s.alerts().size(), 1u);
    EXPECT_EQ(s.alerts()[0].summary, "Runaway memory growth in code");
    EXPECT_EQ(s.alerts()[0].replacesId, 0u);

    // A file that is not a memory: a fresh start (the ongoing runaways are told again), one
    // line, no crash.
    s.stopRelay();
    { std::ofstream(path) << "{\"version\":1,\"incidents\":["; }
    CapturedOutput errors(STDERR_FILENO);
    s.startRelay(std::make_shared<NotificationMemoryFile>(path));
    ASSERT_TRUE(s.sync());
    EXPECT_EQ(s.alerts().size(), 3u);
    EXPECT_NE(errors.text().find("notification memory " + path.string() +
                                 " could not be read; starting fresh"),
              std::string::npos)
        << errors.text();
}

// Each button reaches the backend as the request the popover's own control sends; "Show" and
// the notification itself open the popover on the family's detail; a signal about someone
// else's notification does nothing.
TEST(DesktopNotifications, ActionsReachTheBackendAndShowOpensTheDetail) {
    Session s;
    REQUIRE_SESSION(s);
    s.poll({firefox(FindingVerdict::probable)});
    ASSERT_TRUE(s.sync());
    ASSERT_EQ(s.alerts().size(), 1u);
    const uint id = s.alerts()[0].id;
    s.backend->takeCalls();

    const std::pair<const char*, std::vector<std::string>> presses[] = {
        {"capture", {"dispatch capture_stronger_evidence::firefox"}},
        {"ignore", {"dispatch ignore::firefox"}},
        {"show", {"dispatch select_detail::firefox"}},
        {"default", {"dispatch select_detail::firefox"}},
    };
    int shown = 0;
    for (const auto& [key, expected] : presses) {
        s.server->invokeAction(id, QString::fromLatin1(key));
        ASSERT_TRUE(waitUntil([&] { return !s.backend->calls().empty(); })) << key;
        EXPECT_EQ(s.backend->takeCalls(), expected) << key;
        if (std::string_view(key) == "show" || std::string_view(key) == "default") {
            EXPECT_EQ(s.popoverShown, ++shown) << key;
        }
    }
    EXPECT_EQ(s.popoverShown, 2);

    s.server->invokeAction(id + 100, QStringLiteral("ignore"));
    s.server->close(id);
    s.server->invokeAction(id, QStringLiteral("ignore")); // closed: no longer ours
    ASSERT_TRUE(s.sync());
    EXPECT_TRUE(s.backend->calls().empty());
    EXPECT_EQ(s.popoverShown, 2);

    // Closed on screen, the escalation comes as a new notification rather than a replacement.
    s.poll({firefox(FindingVerdict::criticalRunaway)});
    ASSERT_TRUE(s.sync());
    ASSERT_EQ(s.alerts().size(), 2u);
    EXPECT_EQ(s.alerts()[1].replacesId, 0u);
}

// A server without actions gets the text alone; one that reads markup gets the body escaped.
TEST(DesktopNotifications, NoButtonsWithoutActionSupportAndMarkupIsEscaped) {
    Session s(QStringList{QStringLiteral("body"), QStringLiteral("body-markup")});
    REQUIRE_SESSION(s);
    FindingSnapshot row = firefox(FindingVerdict::probable);
    row.footprintLabel = "<3.2 GB & rising>";
    s.poll({row});
    ASSERT_TRUE(s.sync());
    ASSERT_EQ(s.alerts().size(), 1u);
    EXPECT_TRUE(s.alerts()[0].actions.isEmpty());
    EXPECT_TRUE(s.alerts()[0].body.contains("&lt;3.2 GB &amp; rising&gt; now"))
        << s.alerts()[0].body.toStdString();
}

// With no notification server on the bus, one diagnostic line says so, however many
// notifications are due, and everything else goes on.
TEST(DesktopNotifications, WithoutAServerOneDiagnosticLineAndNothingBreaks) {
    Session s(std::nullopt);
    REQUIRE_SESSION(s);
    s.poll({firefox(FindingVerdict::probable)});
    s.poll({firefox(FindingVerdict::criticalRunaway), family("slack")});
    std::optional<bool> shown;
    s.relay->sendTest([&shown](bool ok) { shown = ok; });
    ASSERT_TRUE(waitUntil([&] { return shown.has_value(); }));
    EXPECT_FALSE(*shown);
    ASSERT_EQ(s.diagnostics.size(), 1u);
    EXPECT_TRUE(s.diagnostics[0].starts_with("velmora-ui: desktop notifications are unavailable"))
        << s.diagnostics[0];
    s.poll({firefox(FindingVerdict::criticalRunaway), family("slack"), family("code")});
    s.backend->takeCalls();
    s.viewModel->openDetail("firefox"); // the rest of the app is unaffected
    EXPECT_EQ(s.backend->takeCalls(), std::vector<std::string>{"dispatch select_detail::firefox"});
    std::optional<bool> again;
    s.relay->sendTest([&again](bool ok) { again = ok; });
    ASSERT_TRUE(waitUntil([&] { return again.has_value(); }));
    EXPECT_EQ(s.diagnostics.size(), 1u);
}

// Self-checks, demos and the soak never notify: a demo's families are invented.
TEST(DesktopNotifications, SelfChecksNeverNotify) {
    EXPECT_TRUE(allowsDesktopNotifications(RuntimeOptions{}));
    const std::function<void(RuntimeOptions&)> smokeFlags[] = {
        [](RuntimeOptions& o) { o.isSmokeTest = true; },
        [](RuntimeOptions& o) { o.interactiveMenuSmoke = true; },
        [](RuntimeOptions& o) { o.advancedHistorySmoke = true; },
        [](RuntimeOptions& o) { o.exportFeedbackSmoke = true; },
        [](RuntimeOptions& o) { o.recoveryFeedbackSmoke = true; },
        [](RuntimeOptions& o) { o.restartFeedbackSmoke = true; },
        [](RuntimeOptions& o) { o.recoverySmokePID = 42; },
        [](RuntimeOptions& o) { o.soakDriveSeconds = 5; },
        [](RuntimeOptions& o) { o.demoArtifactBoundary = true; },
        [](RuntimeOptions& o) { o.demoDetailRouting = true; },
    };
    for (const auto& set : smokeFlags) {
        RuntimeOptions options;
        set(options);
        EXPECT_FALSE(allowsDesktopNotifications(options));
    }
}
