// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/selfcheck/SmokeReporter.h"
#include "app/selfcheck/SynchronousLaunchSmokeProbe.h"
#include "tests/support/FileText.h"
#include "tests/support/TemporaryDirectory.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace velmora;

namespace {

const std::filesystem::path probeBackend = VELMORA_APP_PROBE_BACKEND;

using velmora::testing::readFile;
using velmora::testing::TemporaryDirectory;

PopoverSnapshot fetch(const std::string& mode, Environment extra = {}) {
    ::setenv("APP_PROBE_MODE", mode.c_str(), 1);
    return SynchronousLaunchSmokeProbe::fetchBackendSnapshot(probeBackend, extra);
}

std::string failureOf(const std::string& mode) {
    try {
        fetch(mode);
    } catch (const std::exception& error) {
        return error.what();
    }
    return "no failure";
}

} // namespace

TEST(SmokeSummary, EncodesKeysInOrderAndLeavesAbsentMembersOut) {
    PopoverSnapshot snapshot;
    snapshot.rows.resize(2);
    const auto summary = SmokeSummary::from(snapshot, false, true);
    EXPECT_EQ(
        summary.encode(),
        R"({"globalTone":"allClear","rowCount":2,"incidentStage":"normal",)"
        R"("incidentHeadline":"No active memory incident","incidentSuspectTitle":"All clear",)"
        R"("incidentEvidenceLabel":"No stronger evidence needed right now",)"
        R"("incidentPrimaryMetricCount":1,"hasSelectedDetail":false,"hasConfirmation":false,)"
        R"("menuBarButtonPresent":false,"popoverShown":true,"advancedHistoryShown":false,)"
        R"("historicalOffenderCount":0,"historicalDetailShown":false,)"
        R"("actionFeedbackShown":false})");

    auto full = summary;
    full.incidentDecisionLine = "Decide";
    full.incidentNextActionID = "capture";
    full.actionFeedbackTitle = "Report exported";
    full.recoveryTargetExited = true;
    const auto text = full.encode();
    EXPECT_LT(text.find("\"incidentDecisionLine\":\"Decide\""), text.find("incidentEvidenceLabel"));
    EXPECT_LT(text.find("\"incidentNextActionID\":\"capture\""),
              text.find("incidentPrimaryMetricCount"));
    EXPECT_TRUE(
        text.ends_with(R"("actionFeedbackTitle":"Report exported","recoveryTargetExited":true})"));
}

TEST(SmokeReporter, PrintsOrWritesExactlyOneLine) {
    std::ostringstream out, err;
    SmokeReporter reporter(out, err);
    RuntimeOptions options;
    reporter.emitSuccess(options, PopoverSnapshot{}, false, false);
    const auto printed = out.str();
    EXPECT_TRUE(printed.starts_with("VELMORA_UI_SMOKE_OK {\"globalTone\":\"allClear\""));
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1);
    reporter.emitFailure(options, "velmora-ui: smoke check failed: x");
    EXPECT_EQ(err.str(), "velmora-ui: smoke check failed: x\n");

    TemporaryDirectory dir;
    options.smokeLogPath = dir.path() / "result.log";
    std::ofstream(*options.smokeLogPath) << "old content that is longer than the new one\n";
    std::ostringstream out2, err2;
    SmokeReporter toFile(out2, err2);
    toFile.emitFailure(options, "failed");
    EXPECT_EQ(readFile(*options.smokeLogPath), "failed\n");
    toFile.emitSuccess(options, PopoverSnapshot{}, true, true);
    EXPECT_TRUE(readFile(*options.smokeLogPath).starts_with("VELMORA_UI_SMOKE_OK {"));
    EXPECT_TRUE(out2.str().empty());
    EXPECT_TRUE(err2.str().empty());
}

TEST(SmokeReporter, FallsBackWhenTheSummaryOrTheLogCannotBeWritten) {
    std::ostringstream out, err;
    SmokeReporter reporter(out, err);
    RuntimeOptions options;
    SmokeSummary broken;
    broken.incidentHeadline = "\xff\xfe";
    reporter.emitSmokeLine(options, "VELMORA_UI_SMOKE_OK", broken, "VELMORA_UI_SMOKE_OK");
    EXPECT_EQ(out.str(), "VELMORA_UI_SMOKE_OK\n");

    options.smokeLogPath = "/nonexistent-dir/result.log";
    reporter.emitFailure(options, "failed");
    EXPECT_TRUE(err.str().ends_with("failed\n"));
}

TEST(SynchronousProbe, ReadsTheFirstSnapshotOfAWorkingBackend) {
    const auto snapshot = fetch("ok");
    EXPECT_EQ(snapshot.summaryText, "1 WATCH");
    EXPECT_EQ(snapshot.rows.size(), 1u);
    EXPECT_EQ(fetch("partial").summaryText, "PARTIAL");
    EXPECT_EQ(fetch("request").summaryText, SynchronousLaunchSmokeProbe::request);
    EXPECT_EQ(SynchronousLaunchSmokeProbe::request.size(), 23u);
    EXPECT_EQ(fetch("home", {{"HOME", "/tmp/smoke-home"}}).summaryText, "/tmp/smoke-home");
}

TEST(SynchronousProbe, NamesEachFailure) {
    EXPECT_EQ(failureOf("exit3"), "bundled backend exited with status 3");
    EXPECT_EQ(failureOf("blank"), "bundled backend returned no response");
    EXPECT_EQ(failureOf("nosnapshot"), "bundled backend response did not include a snapshot");
    EXPECT_NE(failureOf("garbage"), "no failure");
    try {
        SynchronousLaunchSmokeProbe::fetchBackendSnapshot("/nonexistent/velmora", {});
        FAIL();
    } catch (const SmokeProbeError& error) {
        EXPECT_EQ(error.kind(), SmokeProbeError::Kind::other);
    }
}

TEST(SynchronousProbe, ReportsTheMissingBackendAndTheDemoScenario) {
    ::setenv("VELMORA_BACKEND_BIN", "/nonexistent/velmora", 1);
    ::setenv("VELMORA_RESOURCES_DIR", "/nonexistent/share/velmora", 1);
    RuntimeOptions options;
    options.isSmokeTest = true;
    auto outcome = SynchronousLaunchSmokeProbe::run(options);
    EXPECT_EQ(outcome.failure,
              "velmora-ui: smoke check failed: bundled backend executable was not found");

    options.demoDetailRouting = true;
    outcome = SynchronousLaunchSmokeProbe::run(options);
    ASSERT_TRUE(outcome.snapshot);
    EXPECT_TRUE(outcome.snapshot->selectedDetail);

    options.interactiveMenuSmoke = true;
    EXPECT_FALSE(SynchronousLaunchSmokeProbe::isRequested(options));
}
