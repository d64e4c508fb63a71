// SPDX-License-Identifier: GPL-3.0-or-later
#include "MonitorProcess.h"
#include "base/Utf8.h"
#include "model/Codec.h"
#include "monitor/config/MonitorPaths.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <signal.h>
#include <thread>
#include <unistd.h>

namespace velmora {
namespace {

using testing::ChildProgram;
using testing::MonitorProcess;
using testing::TempHome;

using testing::fastTuning;

PopoverSnapshot poll(MonitorProcess& monitor) {
    auto line = monitor.request(R"({"kind":"getSnapshot"})");
    EXPECT_TRUE(line);
    auto json = parseJsonText(line.value_or(""));
    EXPECT_TRUE(json.ok());
    if (!json) {
        return {};
    }
    auto snapshot = decode<PopoverSnapshot>(json.value()["snapshot"]);
    EXPECT_TRUE(snapshot.ok()) << (snapshot ? "" : snapshot.error().text());
    return snapshot ? snapshot.value() : PopoverSnapshot{};
}

const FindingSnapshot* rowWithPid(const PopoverSnapshot& snapshot, pid_t pid) {
    std::string marker(1, ':');
    marker.append(std::to_string(pid)).append(1, ':');
    for (const FindingSnapshot& row : snapshot.rows) {
        if (row.key.find(marker) != std::string::npos) {
            return &row;
        }
    }
    return nullptr;
}

const FindingSnapshot* rowWithKey(const PopoverSnapshot& snapshot, const std::string& key) {
    for (const FindingSnapshot& row : snapshot.rows) {
        if (row.key == key) {
            return &row;
        }
    }
    return nullptr;
}

// "+240.0 MB/min" -> 240.
double rateOf(const std::string& text) {
    return std::atof(text.c_str());
}

TEST(LeakDetection, ASteadyLeakerIsASuspectWithItsTrueRateAndAFlatOneIsNot) {
    TempHome home;
    home.writeConfig(fastTuning());
    ChildProgram leaker(VELMORA_MEMORY_CHILD,
                        {"memory-child", "leak", "4", "32"}); // 4 MiB/s = 240 MiB/min
    ChildProgram flat(VELMORA_MEMORY_CHILD, {"memory-child", "flat", "256"});
    MonitorProcess monitor(home);

    const FindingSnapshot* found = nullptr;
    PopoverSnapshot snapshot;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(25);
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        snapshot = poll(monitor);
        found = rowWithPid(snapshot, leaker.pid());
        if (found &&
            static_cast<int>(found->verdict) >= static_cast<int>(FindingVerdict::suspect)) {
            break;
        }
    }
    ASSERT_TRUE(found) << "the leaker never became a row";
    EXPECT_GE(static_cast<int>(found->verdict), static_cast<int>(FindingVerdict::suspect));
    EXPECT_NEAR(rateOf(found->rate), 240.0, 60.0) << found->rate;
    EXPECT_FALSE(found->sparklineSamples.empty());
    const FindingSnapshot* flatRow = rowWithPid(snapshot, flat.pid());
    EXPECT_EQ(flatRow, nullptr) << "a large flat process is not a row: "
                                << (flatRow ? flatRow->explanation + " " + flatRow->rate : "");
    EXPECT_NE(snapshot.globalTone, SnapshotTone::allClear);
    ASSERT_TRUE(snapshot.incident.key);
    // The monitor watches every same-user process on the machine, so another one that grows
    // faster (a compiler in a parallel build) may lead the incident; the leaker's own incident
    // is checked only when it leads.
    const bool leaderIsLeaker = *snapshot.incident.key == found->key;
    if (leaderIsLeaker) {
        ASSERT_TRUE(snapshot.incident.nextAction);
        EXPECT_EQ(snapshot.incident.nextAction->id, "capture_stronger_evidence");
    }

    // Evidence capture writes an artifact the detail then offers.
    std::string key = found->key;
    monitor.request(R"({"kind":"dispatchAction","actionId":"select_detail","targetKey":")" + key +
                    "\"}");
    auto captured = parseJsonText(
        monitor
            .request(
                R"({"kind":"dispatchAction","actionId":"capture_stronger_evidence","targetKey":")" +
                key + "\"}")
            .value_or(""));
    ASSERT_TRUE(captured.ok());
    auto after = decode<PopoverSnapshot>(captured.value()["snapshot"]);
    ASSERT_TRUE(after.ok());
    ASSERT_TRUE(after.value().actionFeedback);
    EXPECT_EQ(after.value().actionFeedback->title, "Evidence captured");
    ASSERT_TRUE(after.value().selectedDetail);
    ASSERT_TRUE(after.value().selectedDetail->artifactBoundary);
    // Polls carry no series; the open detail carries the leaker's memory for its chart: the
    // points up to its footprint now, the trend it was judged from and when it was flagged.
    EXPECT_FALSE(snapshot.selectedDetail);
    const auto& series = after.value().selectedDetail->memorySeries;
    ASSERT_TRUE(series);
    EXPECT_GE(series->footprintKiB.size(), 2u);
    EXPECT_LE(series->footprintKiB.size(), MemorySeries::maxPoints);
    EXPECT_GT(series->anonKiB, 0u);
    // The parts of each point, ending with the parts now, and the clock "now" stands for.
    ASSERT_TRUE(series->kinds);
    EXPECT_EQ(series->kinds->anonKiB.size(), series->footprintKiB.size());
    EXPECT_EQ(series->kinds->anonKiB.back(), series->anonKiB);
    EXPECT_TRUE(series->nowWallSeconds);
    EXPECT_TRUE(series->trend);
    ASSERT_FALSE(series->marks.empty());
    EXPECT_NE(series->marks.front().verdict, FindingVerdict::normal);
    if (leaderIsLeaker) {
        EXPECT_EQ(after.value().incident.stage, IncidentStage::evidenceCaptured);
    }

    // Recover quits it gracefully and says so.
    auto recovered = parseJsonText(
        monitor
            .request(R"({"kind":"dispatchAction","actionId":"recover","targetKey":")" + key + "\"}")
            .value_or(""));
    ASSERT_TRUE(recovered.ok());
    auto feedback = decode<PopoverSnapshot>(recovered.value()["snapshot"]).value().actionFeedback;
    ASSERT_TRUE(feedback);
    EXPECT_EQ(feedback->title, "Recovery completed") << feedback->message;
}

TEST(LeakDetection, HostileNamesAndCommandLinesNeverBreakAnAnswer) {
    TempHome home;
    home.writeConfig(fastTuning());
    // The executable's own file name is invalid UTF-8 too.
    std::string hostileExe = home.path + "/\xff\xfe\x01"
                                         "evil\x1b[0m";
    std::filesystem::copy_file(VELMORA_MEMORY_CHILD, hostileExe);
    std::filesystem::permissions(hostileExe, std::filesystem::perms::owner_all);
    std::string longArgument(4096, 'A');
    for (std::size_t i = 0; i < longArgument.size(); i += 7) {
        longArgument[i] = static_cast<char>(0x80 + i % 64); // stray continuation bytes
    }
    longArgument[100] = '\n';
    longArgument[200] = '\x07';
    ChildProgram hostile(
        hostileExe, {"\xc0\xaf\xed\xa0\x80" + std::string(4000, 'z'), "hostile", longArgument});
    const pid_t child = hostile.pid();
    MonitorProcess monitor(home);
    const FindingSnapshot* row = nullptr;
    PopoverSnapshot snapshot;
    for (int attempt = 0; attempt < 40 && row == nullptr; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        snapshot = poll(monitor);
        row = rowWithPid(snapshot, child);
    }
    ASSERT_TRUE(row) << "the hostile leaker never became a row";
    EXPECT_TRUE(utf8::isValid(row->title));
    EXPECT_NE(row->title.find("evil"), std::string::npos);
    std::string key = row->key;
    for (const char* action :
         {"select_detail", "capture_stronger_evidence", "request_force_quit"}) {
        auto line =
            monitor.request(R"({"kind":"dispatchAction","actionId":")" + std::string(action) +
                            R"(","targetKey":)" + Json(key).dump() + "}");
        ASSERT_TRUE(line) << action;
        auto json = parseJsonText(*line);
        ASSERT_TRUE(json.ok()) << action;
        auto decoded = decode<PopoverSnapshot>(json.value()["snapshot"]);
        ASSERT_TRUE(decoded.ok()) << action << ": " << decoded.error().text();
        if (std::string(action) == "select_detail") {
            ASSERT_TRUE(decoded.value().selectedDetail);
            bool sawName = false;
            for (const auto& identity :
                 decoded.value().selectedDetail->diagnosticsBlock.identityLines) {
                sawName = sawName || identity.find("bad") != std::string::npos;
            }
            EXPECT_TRUE(sawName) << "the hostile process name is shown, cleaned";
        }
    }
    EXPECT_TRUE(poll(monitor).destructiveConfirmation);
    monitor.request(R"({"kind":"dispatchAction","actionId":"confirm_force_quit","targetKey":)" +
                    Json(key).dump() + "}");
}

// VELMORA_SELF_CHECK_TARGETS set for the monitors started while it lives.
struct SelfCheckTargetsVariable {
    explicit SelfCheckTargetsVariable(const std::string& path) {
        ::setenv("VELMORA_SELF_CHECK_TARGETS", path.c_str(), 1);
    }
    ~SelfCheckTargetsVariable() { ::unsetenv("VELMORA_SELF_CHECK_TARGETS"); }
};

// Only a test names self-check targets: nothing in the person's configuration is read for them.
TEST(SelfCheckTargets, ComeOnlyFromTheFileTheVariableNames) {
    ::unsetenv("VELMORA_SELF_CHECK_TARGETS");
    EXPECT_EQ(MonitorPaths::fromEnvironment().smokeTargetsFile, "");
    SelfCheckTargetsVariable variable("/run/velmora-test/targets.json");
    EXPECT_EQ(MonitorPaths::fromEnvironment().smokeTargetsFile, "/run/velmora-test/targets.json");
}

TEST(SelfCheckTargets, RecoveryAndRestartTargetsAreRowsWhoseActionsComplete) {
    TempHome home;
    home.writeConfig(fastTuning());
    ChildProgram recoveryTarget(VELMORA_MEMORY_CHILD, {"memory-child", "flat", "1"});
    ChildProgram restartTarget(VELMORA_MEMORY_CHILD, {"memory-child", "flat", "2"});
    home.writeFile("targets.json", Json{{"recovery", recoveryTarget.pid()},
                                        {"restart", {{"pid", restartTarget.pid()}}}}
                                       .dump());
    SelfCheckTargetsVariable variable(home.path + "/targets.json");
    MonitorProcess monitor(home);
    // The UI's self-checks look for their target in the very first answer.
    PopoverSnapshot snapshot = poll(monitor);
    const FindingSnapshot* recovery = rowWithKey(snapshot, "velmora.recovery.smoke.target");
    const FindingSnapshot* restart = rowWithKey(snapshot, "velmora.restart.smoke.target");
    ASSERT_TRUE(recovery);
    ASSERT_TRUE(restart);
    ASSERT_EQ(recovery->orderedActions.size(), 1u);
    EXPECT_EQ(recovery->orderedActions[0].id, "recover");
    EXPECT_EQ(recovery->orderedActions[0].label, "Recover");
    ASSERT_EQ(restart->orderedActions.size(), 1u);
    EXPECT_EQ(restart->orderedActions[0].id, "restart");
    EXPECT_EQ(restart->orderedActions[0].label, "Restart");
    EXPECT_EQ(restart->orderedActions[0].style, ActionStyle::warning);

    auto feedbackOf = [&](const std::string& action, const std::string& key) {
        auto line = monitor.request(R"({"kind":"dispatchAction","actionId":")" + action +
                                    R"(","targetKey":")" + key + "\"}");
        auto json = parseJsonText(line.value_or(""));
        auto decoded = decode<PopoverSnapshot>(json.value()["snapshot"]);
        return decoded.value().actionFeedback.value_or(ActionFeedbackSnapshot{});
    };
    auto recovered = feedbackOf("recover", "velmora.recovery.smoke.target");
    EXPECT_EQ(recovered.title, "Recovery completed") << recovered.message;
    auto restarted = feedbackOf("restart", "velmora.restart.smoke.target");
    EXPECT_EQ(restarted.title, "Restart completed") << restarted.message;
    // The relaunched copy is detached from us; end it by the PID the feedback names.
    auto at = restarted.message.rfind("PID ");
    if (at != std::string::npos) {
        ::kill(std::atoi(restarted.message.c_str() + at + 4), SIGKILL);
    }
}

} // namespace
} // namespace velmora
