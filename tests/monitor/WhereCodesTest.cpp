// SPDX-License-Identifier: GPL-3.0-or-later
// The detail's heap tracking travels with its codes: from the codes alone (through the wire and
// back) the app composes the very status line, notes and sites' lines the monitor wrote, in every
// phase of a tracking and for every way it ends (a failure's reason has tests of its own); an
// unknown code or notes that do not line up show the monitor's texts. Every button of the detail
// carries its label as a code.
#include "ComposeFixture.h"
#include "SentOverWire.h"
#include "model/Codec.h"
#include "monitor/compose/WhereSection.h"
#include "state/ActionTexts.h"
#include "state/WhereTexts.h"

#include <gtest/gtest.h>
#include <set>

namespace velmora {
namespace {

FamilyView trackedEditor() {
    FamilyView family;
    family.key = "app:editor";
    family.title = "Editor";
    family.footprintKiB = 900 * kMiBInKiB;
    family.assessment.verdict = FindingVerdict::probable;
    family.assessment.footprintKiB = family.footprintKiB;
    MemberView member;
    member.identity.pid = 4242;
    member.name = "editor";
    member.footprintKiB = family.footprintKiB;
    family.members.push_back(member);
    return family;
}

WhereCapture capture(WherePhase phase, bool restarted = false) {
    WhereCapture capture;
    capture.key = "app:editor";
    capture.title = "Editor";
    capture.processName = "editor";
    capture.pid = 4242;
    capture.restarted = restarted;
    capture.seconds = 180;
    capture.trackingSince = 1000;
    capture.phase = phase;
    return capture;
}

StackFrame frame(std::string function, std::string file, uint32_t line, std::string module) {
    return {std::move(function), std::move(file), line, std::move(module)};
}

LeakSite site(uint64_t bytes = 20'000'000, uint64_t calls = 73,
              std::vector<StackFrame> stack = {
                  frame("leakyCacheInsert(unsigned long)", "cache.cpp", 5, "")}) {
    return {bytes, calls, std::move(stack), 0};
}

WhereCapture finished(WhereReport report, bool restarted = false) {
    WhereCapture done = capture(WherePhase::finished, restarted);
    report.pid = 4242;
    report.program = "editor";
    done.report = std::move(report);
    return done;
}

struct WhereFixture : ComposeFixture {
    WhereFixture() {
        wallNow = kNow;
        view.families.push_back(trackedEditor());
        paths.home = "/home/ada";
    }
    // The block as the app receives it, with the monotonic clock at `now`.
    WhereItGrowsBlock block(const WhereCapture& tracking, double now = 1045.2) const {
        ComposeContext at = context();
        at.monotonicNow = now;
        return sent(whereBlockOf(at, tracking));
    }
};

WhereReport report(double trackedSeconds, uint64_t leakedBytes, std::vector<LeakSite> sites) {
    WhereReport report;
    report.trackedSeconds = trackedSeconds;
    report.leakedBytes = leakedBytes;
    report.sites = std::move(sites);
    return report;
}

WhereReport endedReport() {
    WhereReport ended = report(42, 4096, {site()});
    ended.processEnded = true;
    ended.recording = "/home/ada/.local/share/velmora/artifacts/editor.zst";
    ended.note = "Tracking stopped when the recording reached its cap of 1.0 GB.";
    return ended;
}

WhereCapture refusedCapture() {
    WhereCapture refused = capture(WherePhase::finished);
    refused.failure = WhereFailure{"ptraceScope",
                                   "The kernel lets no process attach to another here.",
                                   {{"sudo sysctl kernel.yama.ptrace_scope=0", "Allows attaching"}},
                                   true};
    return refused;
}

// A tracking in every phase and every way it ends, as the app receives each block.
std::vector<WhereItGrowsBlock> everyCase(const WhereFixture& monitor) {
    std::vector<WhereItGrowsBlock> blocks;
    for (bool restarted : {false, true}) {
        for (WherePhase phase : {WherePhase::starting, WherePhase::tracking, WherePhase::stopping,
                                 WherePhase::analysing}) {
            // Over a minute left with a fraction, under a minute left, and past its end.
            for (double now : {1045.2, 1150.5, 1200.0}) {
                blocks.push_back(monitor.block(capture(phase, restarted), now));
            }
        }
    }
    // A site in a source file, one in a library without a source line, one named by its
    // function alone, and one its symbols do not name, with a single call.
    const WhereReport plain =
        report(60, 20'132'659,
               {site(), site(3'000'000, 2, {frame("grow()", "", 0, "/usr/lib/libcache.so.1")}),
                site(1536, 5, {frame("0x7f3a12", "", 0, "")}), site(2048, 1, {})});
    WhereReport early = report(300, 0, {});
    early.stoppedEarly = true;
    early.relaunchedPid = 5151;
    blocks.push_back(monitor.block(finished(plain)));
    blocks.push_back(monitor.block(finished(endedReport())));
    blocks.push_back(monitor.block(finished(early, true)));
    blocks.push_back(monitor.block(refusedCapture()));
    return blocks;
}

TEST(WhereCodes, EveryStatusAndNoteReadsAsTheMonitorWroteIt) {
    WhereFixture monitor;
    std::set<WhereStatusCode> statuses;
    std::set<WhereNoteCode> notes;
    std::set<SitePlaceCode> places;
    for (const WhereItGrowsBlock& block : everyCase(monitor)) {
        SCOPED_TRACE(block.status);
        ASSERT_TRUE(block.codes);
        if (block.stage == WhereStage::blocked) {
            // A failure's status is its reason's sentences.
            EXPECT_FALSE(block.codes->status);
        } else {
            ASSERT_TRUE(block.codes->status && block.codes->status->code.known);
            statuses.insert(*block.codes->status->code.known);
            EXPECT_EQ(whereStatusText(*block.codes->status), block.status);
        }
        EXPECT_EQ(whereStatusShown(block), block.status);
        ASSERT_EQ(block.codes->notes.size(), block.notes.size());
        for (std::size_t i = 0; i < block.notes.size(); ++i) {
            ASSERT_TRUE(block.codes->notes[i].code.known) << block.notes[i];
            notes.insert(*block.codes->notes[i].code.known);
            EXPECT_EQ(whereNoteText(block.codes->notes[i]), block.notes[i]);
        }
        EXPECT_EQ(whereNotesShown(block), block.notes);
        ASSERT_EQ(block.codes->sites.size(), block.sites.size());
        for (std::size_t i = 0; i < block.sites.size(); ++i) {
            ASSERT_TRUE(block.codes->sites[i].place.known);
            places.insert(*block.codes->sites[i].place.known);
            EXPECT_EQ(whereSiteText(block.codes->sites[i]), block.sites[i].headline);
        }
    }
    EXPECT_EQ(statuses.size(), allCases<WhereStatusCode>().size());
    EXPECT_EQ(notes.size(), allCases<WhereNoteCode>().size());
    EXPECT_EQ(places.size(), allCases<SitePlaceCode>().size());
}

TEST(WhereCodes, TheFiguresAreSentInTheirUnits) {
    WhereFixture monitor;
    const WhereItGrowsBlock tracking = monitor.block(capture(WherePhase::tracking), 1045.2);
    EXPECT_EQ(tracking.status, "Tracking editor (PID 4242) \u00B7 2 min 15 s left");
    EXPECT_EQ(tracking.codes->status->figures.pid, 4242);
    EXPECT_DOUBLE_EQ(*tracking.codes->status->figures.secondsLeft, 134.8);

    const WhereReport ended = endedReport();
    const WhereItGrowsBlock block = monitor.block(finished(ended));
    EXPECT_EQ(block.codes->status->code, OpenCode(WhereStatusCode::trackedUntilEnded));
    EXPECT_EQ(block.codes->status->figures.footprintKiB, 4.0);
    EXPECT_EQ(block.codes->status->figures.seconds, 42);
    // The tracker's own note is sent as it came, and the recording by where it is kept.
    ASSERT_EQ(block.codes->notes.size(), 3u);
    EXPECT_EQ(block.codes->notes[1].figures.detail, ended.note);
    EXPECT_EQ(block.codes->notes[2].figures.path, "~/.local/share/velmora/artifacts/editor.zst");

    const WhereItGrowsBlock refused = monitor.block(refusedCapture());
    ASSERT_EQ(refused.commands.size(), 1u);
    EXPECT_EQ(refused.commands[0].action.labelCode->code, OpenCode(ActionLabel::copy));
    EXPECT_EQ(actionLabelShown(refused.commands[0].action), "Copy");
}

TEST(WhereCodes, UnknownCodesAndNotesOutOfStepShowTheMonitorsTexts) {
    auto block = decode<WhereItGrowsBlock>(Json::parse(R"({
        "stage": "running", "status": "Sampling editor...", "notes": ["One", "Two"],
        "codes": {"status": {"code": "sampling", "process": "editor", "pid": 7},
                  "notes": [{"code": "keepsRunning"}]}})"));
    ASSERT_TRUE(block.ok()) << block.error().text();
    EXPECT_EQ(whereStatusShown(block.value()), "Sampling editor...");
    EXPECT_EQ(whereNotesShown(block.value()), (std::vector<std::string>{"One", "Two"}));

    // A site of a place this build does not know shows the monitor's line.
    auto site = decode<WhereItGrowsBlock>(Json::parse(R"({
        "stage": "done", "status": "Tracked", "sites": [{"headline": "jit code kept 1 MB",
        "stack": []}], "codes": {"sites": [{"place": "jit", "keptKiB": 1024, "calls": 3}]}})"));
    ASSERT_TRUE(site.ok()) << site.error().text();
    EXPECT_EQ(whereSitesShown(site.value()), (std::vector<std::string>{"jit code kept 1 MB"}));

    // A known code whose figure is missing shows the monitor's text too.
    auto missing = decode<WhereItGrowsBlock>(Json::parse(R"({
        "stage": "running", "status": "Attaching heaptrack to editor...",
        "codes": {"status": {"code": "attaching"}}})"));
    ASSERT_TRUE(missing.ok());
    EXPECT_EQ(whereStatusShown(missing.value()), "Attaching heaptrack to editor...");

    auto wrong = decode<WhereItGrowsBlock>(
        Json::parse(R"({"stage": "done", "status": "x", "codes": {"notes": [{"code": 3}]}})"));
    ASSERT_FALSE(wrong.ok());
    EXPECT_NE(wrong.error().text().find("codes.notes[0].code"), std::string::npos)
        << wrong.error().text();
}

TEST(WhereCodes, EveryButtonOfTheDetailCarriesItsLabelAsACode) {
    WhereFixture monitor;
    monitor.view.families.front().assessment.verdict = FindingVerdict::probable;
    monitor.interaction.artifacts["app:editor"] =
        CapturedArtifact{"/tmp/velmora/artifacts/editor-1.tar", kNow - 600, 3 * 1024 * 1024, 1};
    WhereCaptures captures;
    WhereCapture refused = capture(WherePhase::finished);
    captures.refuse(refused, WhereFailure{"ptraceScope", "No attach here.", {{"cmd", "why"}}, true},
                    kNow);
    ComposeContext context = monitor.context();
    context.where = &captures;
    const DetailSnapshot detail = sent(buildDetail(context, "app:editor"));

    std::vector<ActionDescriptor> buttons = detail.actBlock.actions;
    for (const auto& command : detail.actBlock.nextCommands) {
        buttons.push_back(command.action);
    }
    ASSERT_TRUE(detail.artifactBoundary && detail.whereItGrows);
    buttons.insert(buttons.end(), detail.artifactBoundary->actions.begin(),
                   detail.artifactBoundary->actions.end());
    buttons.insert(buttons.end(), detail.whereItGrows->actions.begin(),
                   detail.whereItGrows->actions.end());
    for (const auto& command : detail.whereItGrows->commands) {
        buttons.push_back(command.action);
    }
    EXPECT_GE(buttons.size(), 9u);
    for (const ActionDescriptor& button : buttons) {
        ASSERT_TRUE(button.labelCode) << button.id << ": " << button.label;
        EXPECT_EQ(actionLabelText(*button.labelCode), button.label) << button.id;
    }
}

} // namespace
} // namespace velmora
