// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/MockVelmoraBackend.h"

#include "demo/ScenarioLibrary.h"
#include "tests/link/support/TestSupport.h"

#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <unistd.h>

namespace velmora {
namespace {

using namespace velmora::testing;
namespace S = ScenarioLibrary;

const std::regex uuidV4("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");

TEST(MockBackend, PublishesSynchronouslyOnTheCallersThread) {
    MockVelmoraBackend backend(S::suspect());
    SnapshotRecorder recorder(backend);
    ASSERT_EQ(recorder.count(), 1u);
    backend.dispatch("select_detail", "com.google.Chrome");
    ASSERT_EQ(recorder.count(), 2u); // before dispatch returned
    EXPECT_EQ(recorder.snapshots()[1].selectedDetail,
              S::detail("com.google.Chrome", FindingSeverity::suspect));
}

TEST(MockBackend, SelectAndDismissDetailFollowTheRowsSeverity) {
    MockVelmoraBackend backend(S::criticalRunaway());
    backend.dispatch("request_force_quit", "com.google.Chrome");
    backend.dispatch("select_detail", "com.google.Chrome"); // a critical row
    auto snapshot = backend.currentSnapshot();
    ASSERT_TRUE(snapshot.selectedDetail);
    EXPECT_EQ(snapshot.selectedDetail->verdictBlock.verdictLabel, "Critical runaway");
    EXPECT_FALSE(snapshot.destructiveConfirmation);
    backend.dispatch("select_detail", "no.such.row");
    snapshot = backend.currentSnapshot();
    EXPECT_EQ(snapshot.selectedDetail->verdictBlock.verdictLabel, "Probable leak");
    EXPECT_EQ(snapshot.selectedDetail->title, "no.such.row");
    backend.dispatch("request_force_quit", "no.such.row");
    backend.dispatch("dismiss_detail", "no.such.row");
    snapshot = backend.currentSnapshot();
    EXPECT_FALSE(snapshot.selectedDetail);
    EXPECT_FALSE(snapshot.destructiveConfirmation);
}

TEST(MockBackend, ForceQuitAsksForConfirmationAndCancelReturnsToTheQuietSnapshot) {
    MockVelmoraBackend backend(S::suspect());
    backend.dispatch("request_force_quit", "com.google.Chrome");
    const auto confirmation = backend.currentSnapshot().destructiveConfirmation;
    ASSERT_TRUE(confirmation);
    EXPECT_EQ(confirmation->title, "Confirm destructive action");
    EXPECT_EQ(confirmation->message.rfind("Force quit stays explicit.", 0), 0u);
    EXPECT_NE(confirmation->message.find("com.google.Chrome"), std::string::npos);
    EXPECT_EQ(confirmation->confirmAction,
              (ActionDescriptor{"confirm_force_quit", "Confirm", ActionStyle::destructive,
                                "com.google.Chrome"}));
    EXPECT_EQ(confirmation->cancelAction.id, "cancel_force_quit");
    EXPECT_EQ(confirmation->cancelAction.label, "Cancel");
    EXPECT_EQ(confirmation->cancelAction.targetKey, "com.google.Chrome");
    backend.dispatch("cancel_force_quit", "com.google.Chrome");
    EXPECT_EQ(backend.currentSnapshot(), S::suspect());
    backend.dispatch("request_force_quit", "com.google.Chrome");
    backend.dispatch("confirm_force_quit", "com.google.Chrome");
    EXPECT_EQ(backend.currentSnapshot(), S::suspect());
}

TEST(MockBackend, RecoverRestartAndIgnoreGiveFreshFeedback) {
    MockVelmoraBackend backend(S::suspect());
    const std::vector<std::tuple<std::string, std::string, std::string>> table{
        {"recover", "Recovery completed", "Velmora stopped k1 with a graceful recovery pass."},
        {"restart", "Restart completed", "Velmora quit and relaunched k1."},
        {"ignore", "Ignored for 24 hours",
         "Velmora will keep k1 out of the suspect lane for the next 24 hours."},
    };
    std::set<std::string> ids;
    for (const auto& [action, title, message] : table) {
        backend.dispatch(action, "k1");
        const auto feedback = backend.currentSnapshot().actionFeedback;
        ASSERT_TRUE(feedback) << action;
        EXPECT_EQ(feedback->title, title);
        EXPECT_EQ(feedback->message, message);
        EXPECT_EQ(feedback->kind, ActionFeedbackKind::success);
        EXPECT_TRUE(std::regex_match(feedback->id, uuidV4)) << feedback->id;
        ids.insert(feedback->id);
    }
    backend.dispatch("restart", "k1");
    ids.insert(backend.currentSnapshot().actionFeedback->id);
    EXPECT_EQ(ids.size(), 4u);
}

TEST(MockBackend, AnUnknownActionChangesAndPublishesNothing) {
    MockVelmoraBackend backend(S::suspect());
    SnapshotRecorder recorder(backend);
    backend.dispatch("capture_stronger_evidence", "com.google.Chrome");
    backend.dispatch("", "");
    EXPECT_EQ(recorder.count(), 1u);
    EXPECT_EQ(backend.currentSnapshot(), S::suspect());
}

TEST(MockBackend, ExportReportGivesFeedbackAndOtherCommandsOnlyPrintALine) {
    ::setenv("XDG_DATA_HOME", "/tmp/velmora-mock-data", 1);
    MockVelmoraBackend backend(S::allClear());
    SnapshotRecorder recorder(backend);
    {
        CapturedOutput stdoutCapture(STDOUT_FILENO);
        backend.dispatch(ShellCommand::quit);
        backend.dispatch(ShellCommand::openDataFolder);
        backend.dispatch(ShellCommand::openSettings);
        EXPECT_EQ(stdoutCapture.text(), "[MockVelmoraBackend] command=quit\n"
                                        "[MockVelmoraBackend] command=open_data_folder\n"
                                        "[MockVelmoraBackend] command=open_settings\n");
        EXPECT_EQ(recorder.count(), 1u);
        backend.dispatch(ShellCommand::exportReport);
        EXPECT_EQ(stdoutCapture.text().find("export"), std::string::npos);
    }
    ::unsetenv("XDG_DATA_HOME");
    const auto feedback = backend.currentSnapshot().actionFeedback;
    ASSERT_TRUE(feedback);
    EXPECT_EQ(feedback->kind, ActionFeedbackKind::success);
    EXPECT_EQ(feedback->title, "Report exported");
    EXPECT_EQ(feedback->message,
              "Saved /tmp/velmora-mock-data/velmora/reports/report_preview.json.");
    EXPECT_TRUE(std::regex_match(feedback->id, uuidV4));
}

TEST(MockBackend, RefreshIntervalIsClampedAndRounded) {
    MockVelmoraBackend backend(S::allClear());
    const std::vector<std::pair<double, uint64_t>> table{
        {0.2, 500}, {0.5, 500}, {0.5004, 500}, {1.2345, 1235}, {30, 10000}, {10, 10000}, {-1, 500}};
    for (const auto& [seconds, ms] : table) {
        backend.updateRefreshInterval(seconds);
        EXPECT_EQ(backend.currentSnapshot().refreshIntervalMs, ms) << seconds;
    }
    auto expected = S::allClear();
    expected.refreshIntervalMs = 500;
    EXPECT_EQ(backend.currentSnapshot(), expected); // nothing else changed
}

TEST(MockBackend, StorageModeAndEvidenceCaptureUpdateTheSettings) {
    MockVelmoraBackend backend(S::allClear());
    backend.updateStorageMode(SettingsStorageMode::low);
    auto settings = backend.currentSnapshot().settings;
    EXPECT_EQ(settings, SettingsSnapshot::fallback().updating(SettingsStorageMode::low, true));
    EXPECT_EQ(settings.storageModeLabel, "Low storage");
    backend.updateEvidenceCaptureEnabled(false);
    settings = backend.currentSnapshot().settings;
    EXPECT_EQ(settings.storageMode, SettingsStorageMode::low);
    EXPECT_FALSE(settings.evidenceCaptureEnabled);
    EXPECT_EQ(settings.evidenceCaptureLine, evidenceCaptureLine(SettingsStorageMode::low, false));
}

TEST(MockBackend, HistoryCompletesAtOnceWithTheListOrTheSelectedDetail) {
    MockVelmoraBackend backend(S::allClear());
    std::vector<HistoryResult> results;
    backend.fetchAdvancedHistory(std::nullopt, [&](HistoryResult r) { results.push_back(r); });
    backend.fetchAdvancedHistory("com.google.Chrome",
                                 [&](HistoryResult r) { results.push_back(r); });
    backend.fetchAdvancedHistory("org.example.other",
                                 [&](HistoryResult r) { results.push_back(r); });
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(std::get<AdvancedHistorySnapshot>(results[0]), S::advancedHistory());
    EXPECT_EQ(std::get<AdvancedHistorySnapshot>(results[1]),
              S::advancedHistoryDetail("com.google.Chrome"));
    const auto& other = std::get<AdvancedHistorySnapshot>(results[2]);
    EXPECT_EQ(other.selectedDetail->key, "org.example.other");
    EXPECT_EQ(other.selectedDetail->title, "WindowServer");
}

} // namespace
} // namespace velmora
