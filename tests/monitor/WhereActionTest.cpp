// SPDX-License-Identifier: GPL-3.0-or-later
// "Find where it leaks" through the real monitor: a real leaking program found by its sampler,
// tracked with the real heaptrack by a `velmora where` child that the answers follow, its sites
// in the detail's "Where it grows" section; a refused attach and a restart under tracking.
// Skipped where the tools are missing or ptrace is limited.

#include "MonitorProcess.h"
#include "WhereTestSupport.h"
#include "base/Environment.h"
#include "model/Codec.h"
#include "monitor/where/HeaptrackPrint.h"
#include "monitor/where/LeakReport.h"
#include "tests/support/FileText.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>

namespace velmora {
namespace {

using testing::MonitorProcess;
using testing::Spawned;
using testing::TempHome;

// Windows shortened so a real leak is a suspect within seconds; three seconds of tracking.
Json quickTuning() {
    Json config = testing::fastTuning();
    config["tuning"]["whereSeconds"] = 3.0;
    return config;
}

class Monitor {
public:
    explicit Monitor(const TempHome& home, const Environment& overrides = {})
        : process_(home, overrides) {}

    PopoverSnapshot request(const std::string& line) {
        auto answer = process_.request(line);
        EXPECT_TRUE(answer) << "no answer to " << line;
        auto json = parseJsonText(answer.value_or(""));
        if (!json || !json.value().contains("snapshot")) {
            ADD_FAILURE() << "no snapshot in " << answer.value_or("").substr(0, 300);
            return {};
        }
        auto snapshot = decode<PopoverSnapshot>(json.value()["snapshot"]);
        EXPECT_TRUE(snapshot.ok()) << (snapshot ? "" : snapshot.error().text());
        return snapshot ? snapshot.value() : PopoverSnapshot{};
    }
    PopoverSnapshot poll() { return request(R"({"kind":"getSnapshot"})"); }
    PopoverSnapshot act(const std::string& id, const std::string& key) {
        return request(R"({"kind":"dispatchAction","actionId":")" + id + R"(","targetKey":")" +
                       key + "\"}");
    }

    // The key of the family of `pid` once it is a suspect or worse.
    std::string suspectKeyOf(pid_t pid) {
        const std::string marker = std::string(":") + std::to_string(pid) + ":";
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(40);
        while (std::chrono::steady_clock::now() < deadline) {
            ::poll(nullptr, 0, 250);
            for (const FindingSnapshot& row : poll().rows) {
                if (row.key.find(marker) != std::string::npos &&
                    static_cast<int>(row.verdict) >= static_cast<int>(FindingVerdict::suspect)) {
                    return row.key;
                }
            }
        }
        ADD_FAILURE() << "PID " << pid << " never became a suspect";
        return {};
    }

    // Asks for tracking of the open detail's family, confirms, and waits for the countdown.
    void startTracking(const std::string& key) {
        act("find_where_it_leaks", key);
        act("confirm_where_it_leaks", key);
        for (int i = 0; i < 100; ++i) {
            PopoverSnapshot snapshot = poll();
            if (snapshot.selectedDetail && snapshot.selectedDetail->whereItGrows &&
                snapshot.selectedDetail->whereItGrows->status.find(" s left") !=
                    std::string::npos) {
                return;
            }
            ::poll(nullptr, 0, 100);
        }
        ADD_FAILURE() << "no countdown";
    }

    // Polls the open detail until its "Where it grows" section leaves `running`; records the
    // statuses seen on the way.
    DetailSnapshot waitForSites(std::vector<std::string>& statuses,
                                std::vector<std::string>& banners) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
        while (std::chrono::steady_clock::now() < deadline) {
            PopoverSnapshot snapshot = poll();
            if (snapshot.actionFeedback &&
                (banners.empty() || banners.back() != snapshot.actionFeedback->id)) {
                banners.push_back(snapshot.actionFeedback->id);
                banners.push_back(snapshot.actionFeedback->title);
            }
            if (!snapshot.selectedDetail || !snapshot.selectedDetail->whereItGrows) {
                ADD_FAILURE() << "the detail lost its section";
                return {};
            }
            const WhereItGrowsBlock& where = *snapshot.selectedDetail->whereItGrows;
            if (where.stage != WhereStage::running) {
                return *snapshot.selectedDetail;
            }
            statuses.push_back(where.status);
            EXPECT_TRUE(where.progress && *where.progress >= 0 && *where.progress <= 1);
            ::poll(nullptr, 0, 200);
        }
        ADD_FAILURE() << "tracking never finished";
        return {};
    }

private:
    MonitorProcess process_;
};

bool hasAction(const std::vector<ActionDescriptor>& actions, const std::string& id) {
    for (const ActionDescriptor& action : actions) {
        if (action.id == id) {
            return true;
        }
    }
    return false;
}

std::string leakHeadline() {
    return "where_leaker.cpp:" + std::to_string(testing::leakerLine("std::malloc(bytes)")) +
           " in leakyCacheInsert() kept ";
}

void expectLeakSitesOnly(const WhereItGrowsBlock& where) {
    ASSERT_FALSE(where.sites.empty()) << where.status;
    EXPECT_EQ(where.sites.front().headline.rfind(leakHeadline(), 0), 0u)
        << where.sites.front().headline;
    EXPECT_FALSE(where.sites.front().stack.empty());
    for (const WhereSiteSnapshot& site : where.sites) {
        EXPECT_EQ(site.headline.find("churnScratchBuffers"), std::string::npos) << site.headline;
    }
}

#define SKIP_WITHOUT_HEAP_TRACKING()                                                               \
    if (auto why = testing::heapTrackingUnavailable()) {                                           \
        GTEST_SKIP() << "heap tracking cannot run here: " << *why;                                 \
    }

TEST(WhereAction, AskedOnceThenTrackedWithACountdownThenTheSitesInTheDetail) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    home.writeConfig(quickTuning());
    Spawned leaker(VELMORA_WHERE_LEAKER, {"--exit-after", "120"});
    Monitor monitor(home);
    std::string key = monitor.suspectKeyOf(leaker.pid());
    ASSERT_FALSE(key.empty());

    PopoverSnapshot opened = monitor.act("select_detail", key);
    ASSERT_TRUE(opened.selectedDetail);
    const auto& chips = opened.selectedDetail->actBlock.actions;
    auto chip = std::find_if(chips.begin(), chips.end(), [](const ActionDescriptor& action) {
        return action.id == "find_where_it_leaks";
    });
    ASSERT_NE(chip, chips.end());
    EXPECT_EQ(chip->label, "Find where it leaks");
    EXPECT_FALSE(opened.selectedDetail->whereItGrows);

    // It asks first, naming what happens, and touches nothing yet.
    PopoverSnapshot asked = monitor.act("find_where_it_leaks", key);
    ASSERT_TRUE(asked.destructiveConfirmation);
    EXPECT_EQ(asked.destructiveConfirmation->message,
              "Velmora attaches a heap tracker to where_leaker (PID " +
                  std::to_string(leaker.pid()) +
                  ") for 3 s; the process keeps running, a little slower.");
    EXPECT_EQ(asked.destructiveConfirmation->confirmAction.id, "confirm_where_it_leaks");
    ASSERT_TRUE(asked.selectedDetail);
    EXPECT_FALSE(asked.selectedDetail->whereItGrows);

    // The answer comes at once; the tracking goes on in the monitor, followed by later answers.
    PopoverSnapshot started = monitor.act("confirm_where_it_leaks", key);
    EXPECT_FALSE(started.destructiveConfirmation);
    ASSERT_TRUE(started.actionFeedback);
    EXPECT_EQ(started.actionFeedback->title, "Finding where it leaks");
    ASSERT_TRUE(started.selectedDetail && started.selectedDetail->whereItGrows);
    EXPECT_EQ(started.selectedDetail->whereItGrows->stage, WhereStage::running);
    EXPECT_TRUE(hasAction(started.selectedDetail->whereItGrows->actions, "stop_where_tracking"));
    EXPECT_FALSE(hasAction(started.selectedDetail->actBlock.actions, "find_where_it_leaks"));

    std::vector<std::string> statuses;
    std::vector<std::string> banners;
    DetailSnapshot done = monitor.waitForSites(statuses, banners);
    ASSERT_TRUE(done.whereItGrows);
    const WhereItGrowsBlock& where = *done.whereItGrows;
    ASSERT_EQ(where.stage, WhereStage::done) << where.status;
    expectLeakSitesOnly(where);
    EXPECT_EQ(where.status.rfind(
                  "Tracked where_leaker (PID " + std::to_string(leaker.pid()) + ") for 3 s; ", 0),
              0u)
        << where.status;
    EXPECT_TRUE(hasAction(where.actions, "copy_where_report"));
    EXPECT_TRUE(std::any_of(
        statuses.begin(), statuses.end(),
        [](const std::string& status) { return status.find(" s left") != std::string::npos; }))
        << "no countdown among " << ::testing::PrintToString(statuses);
    EXPECT_NE(std::find(banners.begin(), banners.end(), "Where it grows"), banners.end());
    EXPECT_TRUE(hasAction(done.actBlock.actions, "find_where_it_leaks")); // may be run again
    ASSERT_FALSE(where.notes.empty());
    EXPECT_EQ(where.notes.back().rfind("Recording: ~/.local/share/velmora/artifacts/where-", 0), 0u)
        << where.notes.back();

    // The exported report carries the heap-tracking report a person reads, with the stacks.
    PopoverSnapshot exported =
        monitor.request(R"({"kind":"dispatchCommand","commandId":"export_report"})");
    ASSERT_TRUE(exported.actionFeedback);
    ASSERT_EQ(exported.actionFeedback->title, "Report exported");
    std::filesystem::path reports = home.path + "/.local/share/velmora/reports";
    ASSERT_TRUE(std::filesystem::exists(reports));
    std::filesystem::path report;
    for (const auto& entry : std::filesystem::directory_iterator(reports)) {
        if (entry.path().extension() == ".json") {
            report = entry.path();
        }
    }
    std::ifstream file(report);
    auto document = parseJsonText(std::string((std::istreambuf_iterator<char>(file)), {}));
    ASSERT_TRUE(document.ok());
    // With the detail open, the leaker's memory lies beside it as CSV.
    if (document.value().contains("memorySeriesCsv")) {
        std::ifstream csv(document.value().at("memorySeriesCsv").get<std::string>());
        std::string header;
        std::getline(csv, header);
        EXPECT_EQ(header,
                  "seconds_ago,footprint_kib,event,anon_kib,swap_kib,shared_kib,member_kib");
    }
    const Json& where0 = document.value().at("whereItGrows").at(0);
    EXPECT_EQ(where0.at("family"), key);
    std::string text = where0.at("report").get<std::string>();
    EXPECT_NE(text.find("Memory leak report: where_leaker"), std::string::npos) << text;
    EXPECT_NE(text.find("Verdict: "), std::string::npos) << text;
    EXPECT_NE(text.find("1. " + leakHeadline()), std::string::npos) << text;
    EXPECT_NE(text.find("       at "), std::string::npos) << text;
    EXPECT_TRUE(decode<WhereReport>(where0.at("tracking")).ok());

    // Stopped early, it still shows what was recorded until then.
    home.writeConfig(quickTuning());
    monitor.startTracking(key);
    PopoverSnapshot stopping = monitor.act("stop_where_tracking", key);
    ASSERT_TRUE(stopping.actionFeedback);
    EXPECT_EQ(stopping.actionFeedback->title, "Stopping heap tracking");
    DetailSnapshot stopped = monitor.waitForSites(statuses, banners);
    ASSERT_TRUE(stopped.whereItGrows);
    EXPECT_EQ(stopped.whereItGrows->stage, WhereStage::done) << stopped.whereItGrows->status;
    EXPECT_NE(std::find(stopped.whereItGrows->notes.begin(), stopped.whereItGrows->notes.end(),
                        "Stopped early; the sites are what was recorded until then."),
              stopped.whereItGrows->notes.end());
}

TEST(WhereAction, ARefusedAttachShowsWhyWhatToRunAndTheRestartInstead) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    home.writeConfig(quickTuning());
    // This test is its tracer, so the kernel refuses heaptrack's gdb.
    Spawned leaker(VELMORA_WHERE_LEAKER, {"--traced", "--exit-after", "120"});
    Monitor monitor(home);
    std::string key = monitor.suspectKeyOf(leaker.pid());
    ASSERT_FALSE(key.empty());
    monitor.act("select_detail", key);
    monitor.act("find_where_it_leaks", key);
    monitor.act("confirm_where_it_leaks", key);
    std::vector<std::string> statuses;
    std::vector<std::string> banners;
    DetailSnapshot refused = monitor.waitForSites(statuses, banners);
    ASSERT_TRUE(refused.whereItGrows);
    const WhereItGrowsBlock& where = *refused.whereItGrows;
    std::string pid = std::to_string(leaker.pid());
    EXPECT_EQ(where.stage, WhereStage::blocked);
    // The reason and the command's explanation crossed from the `velmora where` child as codes.
    ASSERT_TRUE(where.codes);
    EXPECT_EQ(where.codes->failure,
              (std::vector<WhereFailureCodes>{
                  {WhereFailureCode::attachRefused,
                   {.process = "where_leaker", .pid = static_cast<int64_t>(leaker.pid())}}}));
    ASSERT_EQ(where.commands.size(), 1u);
    EXPECT_EQ(where.commands[0].command, "sudo heaptrack -p " + pid);
    EXPECT_EQ(where.codes->commands,
              (std::vector<WhereCommandCodes>{{WhereCommandCode::trackAsAdmin, {}}}));
    EXPECT_EQ(where.commands[0].action.id, "copy_where_command_1");
    EXPECT_TRUE(hasAction(where.actions, "restart_with_tracking"));
    EXPECT_TRUE(where.sites.empty());
    EXPECT_NE(std::find(banners.begin(), banners.end(), "Heap tracking did not finish"),
              banners.end());
}

TEST(WhereAction, RestartUnderTrackingNeedsNoAttachAndStartsItAgainUntracked) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    home.writeConfig(quickTuning());
    Spawned leaker(VELMORA_WHERE_LEAKER, {"--exit-after", "120"});
    Monitor monitor(home);
    std::string key = monitor.suspectKeyOf(leaker.pid());
    ASSERT_FALSE(key.empty());
    monitor.act("select_detail", key);
    PopoverSnapshot asked = monitor.act("restart_with_tracking", key);
    ASSERT_TRUE(asked.destructiveConfirmation);
    EXPECT_EQ(asked.destructiveConfirmation->message,
              "Velmora quits where_leaker, starts it again under a heap tracker for 3 s, then "
              "restarts it once more without it. Unsaved work in it is lost.");
    PopoverSnapshot restarted = monitor.act("confirm_restart_with_tracking", key);
    ASSERT_TRUE(restarted.actionFeedback);
    EXPECT_EQ(restarted.actionFeedback->title, "Restarted under tracking")
        << restarted.actionFeedback->message;

    std::vector<std::string> statuses;
    std::vector<std::string> banners;
    DetailSnapshot done = monitor.waitForSites(statuses, banners);
    ASSERT_TRUE(done.whereItGrows);
    expectLeakSitesOnly(*done.whereItGrows);
    const std::string marker = "where_leaker was started again without tracking as PID ";
    pid_t again = 0;
    for (const std::string& note : done.whereItGrows->notes) {
        if (note.rfind(marker, 0) == 0) {
            again = static_cast<pid_t>(std::stol(note.substr(marker.size())));
        }
    }
    ASSERT_GT(again, 0) << ::testing::PrintToString(done.whereItGrows->notes);
    EXPECT_EQ(std::filesystem::read_symlink("/proc/" + std::to_string(again) + "/exe"),
              std::filesystem::canonical(VELMORA_WHERE_LEAKER));
    ::kill(again, SIGKILL);
}

TEST(WhereAction, PollsAreAnsweredWhileThePackageQueryHangs) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    home.writeConfig(quickTuning());
    // A dpkg-query that says when it starts and then hangs, first in PATH.
    std::string bin = home.path + "/bin";
    std::string started = home.path + "/dpkg-query.pid";
    home.writeFile("bin/dpkg-query", "#!/bin/sh\necho $$ > '" + started + "'\nexec sleep 600\n");
    std::filesystem::permissions(bin + "/dpkg-query", std::filesystem::perms::owner_all);
    const char* path = std::getenv("PATH");
    Spawned leaker(VELMORA_WHERE_LEAKER, {"--exit-after", "120"});
    Monitor monitor(home, {{"PATH", bin + ":" + (path != nullptr ? path : "/usr/bin:/bin")}});
    std::string key = monitor.suspectKeyOf(leaker.pid());
    ASSERT_FALSE(key.empty());
    monitor.act("select_detail", key);
    monitor.act("find_where_it_leaks", key);
    PopoverSnapshot confirmed = monitor.act("confirm_where_it_leaks", key);
    ASSERT_TRUE(confirmed.actionFeedback);
    EXPECT_EQ(confirmed.actionFeedback->title, "Finding where it leaks");
    // Polls go on being answered while the query runs: it is never waited for by the answers.
    pid_t query = 0;
    for (int i = 0; i < 200 && query == 0; ++i) {
        monitor.poll();
        std::ifstream file(started);
        file >> query;
        ::poll(nullptr, 0, 50);
    }
    ASSERT_GT(query, 0) << "dpkg-query was never asked";
    PopoverSnapshot answered = monitor.poll();
    ASSERT_TRUE(answered.selectedDetail && answered.selectedDetail->whereItGrows);
    EXPECT_EQ(::kill(query, 0), 0) << "the answers waited until the query was given up";
    std::vector<std::string> statuses;
    std::vector<std::string> banners;
    DetailSnapshot done = monitor.waitForSites(statuses, banners);
    ASSERT_TRUE(done.whereItGrows);
    expectLeakSitesOnly(*done.whereItGrows);
}

// The `velmora where` children tracking `pid`, found by their command lines.
std::vector<pid_t> trackersOf(pid_t pid) {
    std::vector<pid_t> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        // A process that ends while it is read reads as empty (a stream iterator would throw).
        std::string cmdline = testing::readFile(entry.path() / "cmdline");
        std::replace(cmdline.begin(), cmdline.end(), '\0', ' ');
        if (cmdline.find(" where " + std::to_string(pid) + " ") != std::string::npos) {
            found.push_back(static_cast<pid_t>(std::atol(entry.path().filename().c_str())));
        }
    }
    return found;
}

TEST(WhereAction, AMonitorThatGoesAwayLeavesNoProcessTracked) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    Json tuning = quickTuning();
    tuning["tuning"]["whereSeconds"] = 120.0;
    home.writeConfig(tuning);
    Spawned leaker(VELMORA_WHERE_LEAKER, {"--exit-after", "120"});
    {
        Monitor monitor(home);
        std::string key = monitor.suspectKeyOf(leaker.pid());
        ASSERT_FALSE(key.empty());
        monitor.act("select_detail", key);
        monitor.startTracking(key);
        ASSERT_EQ(trackersOf(leaker.pid()).size(), 1u);
    } // the monitor's input ends, as when velmora-ui quits
    // Its tracker stops early by itself, detaches heaptrack and finishes the recording.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!trackersOf(leaker.pid()).empty() && std::chrono::steady_clock::now() < deadline) {
        ::poll(nullptr, 0, 100);
    }
    EXPECT_TRUE(trackersOf(leaker.pid()).empty()) << "still tracked after the monitor ended";
    std::vector<std::filesystem::path> recordings;
    for (const auto& entry :
         std::filesystem::directory_iterator(home.path + "/.local/share/velmora/artifacts")) {
        recordings.push_back(entry.path());
    }
    ASSERT_EQ(recordings.size(), 1u);
    auto recorded = analyseRecording(HeapTools::find(), recordings.front().string(), 60);
    ASSERT_TRUE(recorded.ok()) << recorded.error().text();
    auto sites = growingSites(recorded.value(), 1);
    ASSERT_EQ(sites.size(), 1u);
    EXPECT_EQ(sites[0].site()->function.find("leakyCacheInsert"), 0u);
    EXPECT_EQ(::kill(leaker.pid(), 0), 0) << "the tracked process did not survive";
}

} // namespace
} // namespace velmora
