// SPDX-License-Identifier: GPL-3.0-or-later
// The popover's status texts travel with their codes and figures: the summary strip, the
// memory-state header, a recent finding's status and age, and the footer's chips. The app
// composes, from the codes alone (through the wire and back), the very texts the monitor wrote;
// an unknown code shows the monitor's text, and a code of the wrong type fails with its path.
#include "SentOverWire.h"
#include "base/Translate.h"
#include "model/Codec.h"
#include "monitor/compose/SnapshotComposer.h"
#include "monitor/compose/StatusWording.h"
#include "monitor/history/StorageFooter.h"
#include "state/FooterTexts.h"
#include "state/RecentFindingTexts.h"
#include "state/SystemStateTexts.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

std::vector<FindingSnapshot> rowsOf(std::initializer_list<FindingSeverity> severities) {
    std::vector<FindingSnapshot> rows;
    for (FindingSeverity severity : severities) {
        rows.push_back({});
        rows.back().severity = severity;
    }
    return rows;
}

TEST(StatusCodes, SummaryStripSaysWhatTheMonitorSays) {
    using enum FindingSeverity;
    const struct {
        SnapshotTone tone;
        std::vector<FindingSnapshot> rows;
        const char* text;
    } cases[] = {
        {SnapshotTone::allClear, rowsOf({allClear}), "ALL CLEAR"},
        {SnapshotTone::watch, rowsOf({watch, allClear}), "1 FAMILY TO WATCH"},
        {SnapshotTone::watch, rowsOf({watch, watch, allClear}), "2 FAMILIES TO WATCH"},
        {SnapshotTone::suspect, rowsOf({suspect, watch}), "1 SUSPECTED LEAK"},
        {SnapshotTone::suspect, rowsOf({suspect, suspect, suspect}), "3 SUSPECTED LEAKS"},
        // High pressure alone raises the strip with no suspect under it, and names no leak.
        {SnapshotTone::suspect, rowsOf({watch}), "HIGH PRESSURE"},
        {SnapshotTone::suspect, {}, "HIGH PRESSURE"},
        {SnapshotTone::critical, rowsOf({critical, suspect}), "CRITICAL RUNAWAY"},
        {SnapshotTone::critical, rowsOf({watch}), "CRITICAL PRESSURE"},
    };
    for (const auto& c : cases) {
        PopoverSnapshot snapshot;
        setSummary(snapshot, c.tone, c.rows);
        EXPECT_EQ(snapshot.summaryText, c.text);
        const PopoverSnapshot received = sent(snapshot);
        ASSERT_TRUE(received.summaryCode) << c.text;
        EXPECT_EQ(summaryText(*received.summaryCode), snapshot.summaryText);
        EXPECT_EQ(summaryStripText(received), snapshot.summaryText);
    }
}

TEST(StatusCodes, HeaderSaysWhatTheMonitorSays) {
    for (PressureLevel level : {PressureLevel::normal, PressureLevel::elevated, PressureLevel::high,
                                PressureLevel::critical}) {
        for (uint64_t available : {uint64_t{0}, uint64_t{900}, uint64_t{21076377}}) {
            MachineState machine;
            machine.valid = true;
            machine.level = level;
            machine.memory.totalKiB = 24536678;
            machine.memory.availableKiB = available;
            SystemStateSnapshot state;
            setMachineState(state, machine);
            const SystemStateSnapshot received = sent(state);
            EXPECT_EQ(pressurePillText(received), state.pressureLabel);
            EXPECT_EQ(headroomLineText(received), state.headroomLabel);
            ASSERT_TRUE(received.codes);
            EXPECT_TRUE(pressureText(*received.codes));
            EXPECT_TRUE(headroomText(*received.codes));
        }
    }
    SystemStateSnapshot state;
    setMachineState(state, MachineState{}); // memory not read yet: the placeholders, coded
    EXPECT_EQ(state.pressureLabel, SystemStateSnapshot{}.pressureLabel);
    EXPECT_EQ(state.headroomLabel, SystemStateSnapshot{}.headroomLabel);
    ASSERT_TRUE(state.codes);
    EXPECT_EQ(state.codes->memoryState, OpenCode<MemoryStateCode>(MemoryStateCode::unread));
    EXPECT_FALSE(state.codes->pressure);
}

TEST(StatusCodes, ScopeLineSaysWhatTheMonitorSays) {
    for (auto [processes, families] : {std::pair{0, 0}, {1, 1}, {48, 12}, {1203, 211}}) {
        SystemStateSnapshot state;
        setScope(state, processes, families);
        const SystemStateSnapshot received = sent(state);
        ASSERT_TRUE(received.codes && scopeText(*received.codes));
        EXPECT_EQ(scopeLineText(received), state.scopeLabel);
    }
    SystemStateSnapshot scanning;
    setScanRunning(scanning);
    EXPECT_EQ(scanning.scopeLabel, "First process scan running");
    EXPECT_EQ(scopeText(*sent(scanning).codes), scanning.scopeLabel);
}

// The whole answer: the header is coded from the first answer on.
PopoverSnapshot composedFor(const LiveView* view) {
    const ConfigStore config("/nonexistent/velmora/config.json");
    InteractionState interaction;
    const MonitorPaths paths;
    ComposeContext context{view, config, interaction, paths};
    context.monotonicNow = view != nullptr ? view->monotonicTime : 0;
    return sent(composeSnapshot(context));
}

TEST(StatusCodes, HeaderIsCodedFromTheFirstAnswerOn) {
    const PopoverSnapshot first = composedFor(nullptr);
    EXPECT_EQ(scopeLineText(first.systemState), "First process scan running");
    EXPECT_EQ(summaryStripText(first), "ALL CLEAR");
    ASSERT_TRUE(first.systemState.codes && first.systemState.codes->scope);

    LiveView view;
    view.monotonicTime = 10'000;
    view.watchedProcesses = 214;
    view.familyCount = 61;
    view.machine.valid = true;
    view.machine.memory.totalKiB = 16 << 20;
    view.machine.memory.availableKiB = 9 << 20;
    const PopoverSnapshot calm = composedFor(&view);
    EXPECT_EQ(scopeLineText(calm.systemState), "214 same-user processes in 61 families");
    EXPECT_EQ(pressurePillText(calm.systemState), "Normal pressure");
    EXPECT_EQ(headroomLineText(calm.systemState), "9.0 GB available of 16.0 GB");
}

TEST(StatusCodes, RecentFindingSaysWhatTheMonitorSays) {
    for (auto status : {RecentStatusCode::outOfMemory, RecentStatusCode::processEnded,
                        RecentStatusCode::growthStopped}) {
        for (double ago : {-3.0, 0.0, 59.9, 60.0, 3599.0, 3600.0, 200000.0}) {
            RecentFindingSnapshot finding;
            setRecentStatus(finding, status, ago);
            const RecentFindingSnapshot received = sent(finding);
            ASSERT_TRUE(received.codes);
            EXPECT_EQ(recentStatusText(*received.codes), finding.statusLabel);
            EXPECT_EQ(recentAgeText(*received.codes), finding.lastSeenText) << ago;
        }
    }
}

TEST(StatusCodes, FooterSaysWhatTheMonitorSays) {
    constexpr int64_t now = 1'700'000'000'000;
    for (uint64_t bytes :
         {uint64_t{0}, uint64_t{430080}, uint64_t{399507456}, uint64_t{1288490189}}) {
        for (std::optional<int64_t> pruned :
             {std::optional<int64_t>{}, std::optional<int64_t>{now}, std::optional{now - 59'999},
              std::optional{now - 7'200'500}, std::optional{now - 3 * 86'400'000}}) {
            const FooterTelemetrySnapshot footer = storageFooter(bytes, pruned, now);
            const FooterTelemetrySnapshot received = sent(footer);
            ASSERT_TRUE(received.codes && storageText(*received.codes) &&
                        pruneText(*received.codes));
            EXPECT_EQ(storageChipText(received), footer.storageText);
            EXPECT_EQ(pruneChipText(received), footer.pruneText);
        }
    }
}

// A newer monitor's codes: each line is the monitor's own text.
TEST(StatusCodes, UnknownCodesShowTheMonitorsText) {
    const auto snapshot = decodeText<PopoverSnapshot>(R"({
        "summaryText": "2 THINGS", "summaryCode": {"code": "somethingNew", "count": 2},
        "systemState": {"pressureLabel": "Odd pressure", "headroomLabel": "Some room",
                        "scopeLabel": "Some scope", "usedMemoryFraction": 0.5,
                        "codes": {"pressure": "odd", "scope": "elsewhere", "totalKiB": 4}},
        "footerTelemetry": {"storageText": "Storage ?", "pruneText": "Prune later",
                            "codes": {"prune": "later"}},
        "recentFindings": [{"key": "k", "title": "t", "statusLabel": "Gone fishing",
                            "explanation": "", "lastSeenText": "a while ago",
                            "severity": "watch", "codes": {"status": "fishing"}}]})");
    ASSERT_TRUE(snapshot.ok()) << snapshot.error().text();
    const PopoverSnapshot& s = snapshot.value();
    EXPECT_EQ(summaryStripText(s), "2 THINGS");
    EXPECT_EQ(pressurePillText(s.systemState), "Odd pressure");
    EXPECT_EQ(headroomLineText(s.systemState), "Some room"); // the free figure without its pair
    EXPECT_EQ(scopeLineText(s.systemState), "Some scope");
    EXPECT_EQ(storageChipText(s.footerTelemetry), "Storage ?");
    EXPECT_EQ(pruneChipText(s.footerTelemetry), "Prune later");
    EXPECT_EQ(recentStatusLabel(s.recentFindings[0]), "Gone fishing");
    EXPECT_EQ(recentLastSeenText(s.recentFindings[0]), "a while ago");
}

TEST(StatusCodes, WrongTypesFailWithTheirPath) {
    const auto failureOf = [](const char* json) {
        auto decoded = decodeText<PopoverSnapshot>(json);
        return decoded.ok() ? std::string() : decoded.error().text();
    };
    EXPECT_EQ(failureOf(R"({"summaryCode": {"code": 3}})"),
              "summaryCode.code: expected string, got number");
    EXPECT_EQ(failureOf(R"({"systemState": {"pressureLabel": "p", "headroomLabel": "h",
        "scopeLabel": "s", "usedMemoryFraction": 0, "codes": {"processCount": "48"}}})"),
              "systemState.codes.processCount: expected int64, got string");
    EXPECT_EQ(failureOf(R"({"footerTelemetry": {"storageText": "s", "pruneText": "p",
        "codes": {"storageBytes": "1 GB"}}})"),
              "footerTelemetry.codes.storageBytes: expected uint64, got string");
    EXPECT_EQ(failureOf(R"({"recentFindings": [{"key": "k", "title": "t", "statusLabel": "s",
        "explanation": "", "lastSeenText": "", "severity": "watch",
        "codes": {"agoSeconds": true}}]})"),
              "recentFindings[0].codes.agoSeconds: expected number, got boolean");
}

// The counts reach the catalogue as plural numbers, and a language may put the parts of a
// line in its own order.
std::string reversedScope(const char*, const char* source, const char*, int n) {
    const std::string text = source;
    if (text == "%1 in %2") {
        return "%2 hold %1";
    }
    if (n >= 0) {
        return withArguments("[%1|%2]", {std::to_string(n), text});
    }
    return text;
}

TEST(StatusCodes, ComposedThroughTheCatalogue) {
    setTranslator(&reversedScope);
    SystemStateCodes codes;
    codes.scope = ScopeCode::watching;
    codes.processCount = 48;
    codes.familyCount = 1;
    const auto scope = scopeText(codes);
    const RecentFindingCodes recent{RecentStatusCode::processEnded, 7200.0};
    const auto age = recentAgeText(recent);
    setTranslator(nullptr);
    EXPECT_EQ(scope, "[1|%n families] hold [48|%n same-user processes]");
    EXPECT_EQ(age, "[2|%n h ago]");
}

} // namespace
} // namespace velmora
