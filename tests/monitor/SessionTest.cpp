// SPDX-License-Identifier: GPL-3.0-or-later
#include "MonitorProcess.h"
#include "model/Codec.h"
#include "monitor/compose/SnapshotComposer.h"
#include "tests/support/FileText.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::MonitorProcess;
using testing::TempHome;

// Every answer is one JSON line the UI's model decodes.
PopoverSnapshot snapshotOf(const std::optional<std::string>& line) {
    EXPECT_TRUE(line.has_value());
    if (!line) {
        return {};
    }
    auto json = parseJsonText(*line);
    EXPECT_TRUE(json.ok()) << *line;
    if (!json || !json.value().contains("snapshot")) {
        ADD_FAILURE() << "no snapshot in " << line->substr(0, 300);
        return {};
    }
    auto snapshot = decode<PopoverSnapshot>(json.value()["snapshot"]);
    EXPECT_TRUE(snapshot.ok()) << (snapshot ? "" : snapshot.error().text());
    return snapshot ? snapshot.value() : PopoverSnapshot{};
}

// A history answer is an advancedHistory envelope (never a snapshot) the UI's model decodes.
AdvancedHistorySnapshot historyOf(const std::optional<std::string>& line) {
    EXPECT_TRUE(line.has_value());
    if (!line) {
        return {};
    }
    auto json = parseJsonText(*line);
    EXPECT_TRUE(json.ok()) << *line;
    if (!json || !json.value().contains("advancedHistory")) {
        ADD_FAILURE() << "no advancedHistory in " << line->substr(0, 300);
        return {};
    }
    EXPECT_EQ(json.value().value("kind", ""), "advancedHistory");
    EXPECT_FALSE(json.value().contains("snapshot"));
    auto history = decode<AdvancedHistorySnapshot>(json.value()["advancedHistory"]);
    EXPECT_TRUE(history.ok()) << (history ? "" : history.error().text());
    return history ? history.value() : AdvancedHistorySnapshot{};
}

void expectError(const std::optional<std::string>& line, const std::string& fragment) {
    PopoverSnapshot snapshot = snapshotOf(line);
    ASSERT_TRUE(snapshot.actionFeedback) << fragment;
    EXPECT_EQ(snapshot.actionFeedback->kind, ActionFeedbackKind::error);
    EXPECT_NE(snapshot.actionFeedback->message.find(fragment), std::string::npos)
        << snapshot.actionFeedback->message;
}

TEST(MonitorSession, BadRequestsAreAnsweredAndNeverEndTheProcess) {
    TempHome home;
    MonitorProcess monitor(home);
    expectError(monitor.request("this is not json"), "not valid JSON");
    expectError(monitor.request("[1,2,3]"), "not a JSON object");
    expectError(monitor.request("{}"), "no kind");
    expectError(monitor.request(R"({"kind":42})"), "no kind");
    expectError(monitor.request(R"({"kind":"launchMissiles"})"), "Unknown request kind");
    expectError(monitor.request(R"({"kind":"dispatchAction","actionId":"recover"})"), "targetKey");
    expectError(monitor.request(R"({"kind":"dispatchCommand"})"), "commandId");
    expectError(monitor.request(R"({"kind":"dispatchCommand","commandId":"format_disk"})"),
                "Unknown command");
    expectError(monitor.request(R"({"kind":"updateRefreshInterval","refreshIntervalSeconds":"2"})"),
                "number");
    expectError(
        monitor.request(R"({"kind":"updateStorageMode","storageMode":"deepInvestigation"})"),
        "deep_investigation");
    expectError(monitor.request(R"({"kind":"updateEvidenceCapture","enabled":1})"), "boolean");
    expectError(monitor.request(std::string(100000, '[')), "not valid JSON");
    expectError(monitor.request(R"({"kind":"getSnapshot","x":1e400})"), "not valid JSON");
    expectError(monitor.request("{\"kind\":\"getSnapshot\",\"x\":\"\xff\xfe\"}"), "not valid JSON");
    expectError(
        monitor.request(R"({"kind":"dispatchAction","actionId":"recover","targetKey":"gone"})"),
        "no longer running");
    expectError(
        monitor.request(R"({"kind":"dispatchAction","actionId":"teleport","targetKey":"x"})"),
        "does not know");

    // A 17 MiB line is discarded, not buffered forever, and answered once.
    expectError(monitor.request(std::string(17 * 1024 * 1024, 'x')), "too long");

    // An unknown selected key is no error: the offenders come without a detail.
    AdvancedHistorySnapshot history =
        historyOf(monitor.request(R"({"kind":"getAdvancedHistory","selectedKey":"k"})"));
    EXPECT_FALSE(history.selectedDetail);
    auto wrongKey = monitor.request(R"({"kind":"getAdvancedHistory","selectedKey":7})");
    ASSERT_TRUE(wrongKey);
    auto json = parseJsonText(*wrongKey);
    ASSERT_TRUE(json.ok());
    EXPECT_FALSE(json.value().contains("snapshot"));
    EXPECT_NE(json.value().value("message", "").find("selectedKey"), std::string::npos);

    PopoverSnapshot healthy = snapshotOf(monitor.request(R"({"kind":"getSnapshot"})"));
    EXPECT_FALSE(healthy.actionFeedback) << "a poll after an error keeps no stale banner";
    monitor.closeInput();
    EXPECT_EQ(monitor.wait(), 0);
}

TEST(MonitorSession, ClosedOutputEndsItCleanly) {
    TempHome home;
    MonitorProcess monitor(home);
    ASSERT_TRUE(monitor.request(R"({"kind":"getSnapshot"})"));
    monitor.closeOutput();
    monitor.send("{\"kind\":\"getSnapshot\"}\n{\"kind\":\"getSnapshot\"}\n");
    EXPECT_EQ(monitor.wait(), 0) << "SIGPIPE is ignored and the write failure ends the loop";
}

TEST(MonitorSession, SettingsPersistAndAreEchoed) {
    TempHome home;
    {
        MonitorProcess monitor(home);
        PopoverSnapshot low =
            snapshotOf(monitor.request(R"({"kind":"updateStorageMode","storageMode":"low"})"));
        EXPECT_EQ(low.settings.storageMode, SettingsStorageMode::low);
        EXPECT_EQ(low.settings.storageModeLabel, "Low storage");
        PopoverSnapshot off =
            snapshotOf(monitor.request(R"({"kind":"updateEvidenceCapture","enabled":false})"));
        EXPECT_FALSE(off.settings.evidenceCaptureEnabled);
        PopoverSnapshot slow = snapshotOf(
            monitor.request(R"({"kind":"updateRefreshInterval","refreshIntervalSeconds":3})"));
        EXPECT_EQ(slow.refreshIntervalMs, 3000u);
        PopoverSnapshot clamped = snapshotOf(
            monitor.request(R"({"kind":"updateRefreshInterval","refreshIntervalSeconds":0.01})"));
        EXPECT_EQ(clamped.refreshIntervalMs, 500u);
    }
    MonitorProcess again(home);
    PopoverSnapshot restored = snapshotOf(again.request(R"({"kind":"getSnapshot"})"));
    EXPECT_EQ(restored.settings.storageMode, SettingsStorageMode::low);
    EXPECT_FALSE(restored.settings.evidenceCaptureEnabled);
    EXPECT_EQ(restored.refreshIntervalMs, 500u);
    EXPECT_EQ(restored.trustAccess.configPath, "~/.config/velmora/config.json");
    EXPECT_FALSE(restored.trustAccess.filesReadLastPass.empty());
}

TEST(MonitorSession, ExportReportWritesAFileAndSaysWhere) {
    TempHome home;
    MonitorProcess monitor(home);
    PopoverSnapshot exported =
        snapshotOf(monitor.request(R"({"kind":"dispatchCommand","commandId":"export_report"})"));
    ASSERT_TRUE(exported.actionFeedback);
    EXPECT_EQ(exported.actionFeedback->title, "Report exported");
    const std::string& message = exported.actionFeedback->message;
    ASSERT_EQ(message.rfind("Saved ~/.local/share/velmora/reports/", 0), 0u) << message;
    std::string path = home.path + message.substr(7, message.size() - 8);
    auto report = parseJsonText(testing::readFile(path));
    ASSERT_TRUE(report.ok()) << path;
    EXPECT_TRUE(decode<PopoverSnapshot>(report.value()["snapshot"]).ok());
}

TEST(MonitorSession, ARunningMonitorKeepsItsHistoryInTheDataFolder) {
    TempHome home;
    MonitorProcess monitor(home);
    ASSERT_TRUE(monitor.request(R"({"kind":"getSnapshot"})"));
    AdvancedHistorySnapshot history =
        historyOf(monitor.request(R"({"kind":"getAdvancedHistory","selectedKey":null})"));
    EXPECT_GT(history.generatedAtMs, 0);
    EXPECT_FALSE(history.selectedDetail);
    for (const auto& offender : history.offenders) {
        EXPECT_FALSE(offender.key.empty());
    }
    EXPECT_TRUE(std::filesystem::exists(home.path + "/.local/share/velmora/history.sqlite3"));

    PopoverSnapshot snapshot = snapshotOf(monitor.request(R"({"kind":"getSnapshot"})"));
    EXPECT_EQ(snapshot.footerTelemetry.storageText.rfind("Storage ", 0), 0u)
        << snapshot.footerTelemetry.storageText;
    EXPECT_FALSE(snapshot.footerTelemetry.pruneText.empty());
    monitor.closeInput();
    EXPECT_EQ(monitor.wait(), 0);
}

TEST(MonitorSession, AnUnreadableHistoryIsAMessageAndTheMonitorKeepsAnswering) {
    TempHome home;
    // A directory where the database belongs: the store cannot open it and says so.
    std::filesystem::create_directories(home.path + "/.local/share/velmora/history.sqlite3");
    MonitorProcess monitor(home);
    auto line = monitor.request(R"({"kind":"getAdvancedHistory"})");
    ASSERT_TRUE(line);
    auto json = parseJsonText(*line);
    ASSERT_TRUE(json.ok()) << *line;
    EXPECT_FALSE(json.value().contains("advancedHistory"));
    EXPECT_FALSE(json.value().value("message", "").empty()) << *line;
    PopoverSnapshot snapshot = snapshotOf(monitor.request(R"({"kind":"getSnapshot"})"));
    EXPECT_EQ(snapshot.footerTelemetry.storageText.rfind("Storage ", 0), 0u);
    monitor.closeInput();
    EXPECT_EQ(monitor.wait(), 0);
}

TEST(MonitorSession, TheFirstAnswerBeforeAnyPassIsABootstrap) {
    ConfigStore config("/nonexistent/config.json");
    InteractionState interaction;
    MonitorPaths paths = MonitorPaths::fromEnvironment();
    ComposeContext context{nullptr, config, interaction, paths};
    PopoverSnapshot snapshot = composeSnapshot(context);
    EXPECT_TRUE(snapshot.bootstrapScan.active);
    EXPECT_TRUE(snapshot.rows.empty());
    EXPECT_TRUE(decode<PopoverSnapshot>(encode(snapshot)).ok());
}

} // namespace
} // namespace velmora
