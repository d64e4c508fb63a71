// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/WhereSection.h"

#include "model/DetailSnapshot.h"
#include "monitor/common/Formatting.h"
#include "monitor/compose/FamilyTexts.h"
#include "monitor/where/TraceAccess.h"
#include "monitor/where/WhereText.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velmora {
namespace {

// Each command to run instead has its own copy action.
constexpr std::array kCopyCommands{ActionId::copyWhereCommand1, ActionId::copyWhereCommand2,
                                   ActionId::copyWhereCommand3};

constexpr std::size_t kSitesShown = 5;
constexpr std::size_t kFramesShown = 4;

std::string countdown(double seconds) {
    int left = static_cast<int>(std::ceil(std::max(0.0, seconds)));
    if (left < 60) {
        return std::to_string(left) + " s left";
    }
    return std::to_string(left / 60) + " min " + std::to_string(left % 60) + " s left";
}

std::string runningStatus(const WhereCapture& capture, const std::string& label, double now) {
    switch (capture.phase) {
    case WherePhase::starting:
        return capture.restarted ? "Starting " + capture.title + " again under heaptrack..."
                                 : "Attaching heaptrack to " + label + "...";
    case WherePhase::tracking:
        return "Tracking " + label + " \u00B7 " +
               countdown(capture.trackingSince + capture.seconds - now);
    case WherePhase::stopping:
        return capture.restarted ? "Asking " + capture.title + " to quit to finish the recording..."
                                 : "Detaching heaptrack from " + label + "...";
    case WherePhase::analysing:
    case WherePhase::finished:
        break;
    }
    return "Reading the recording of " + label + "...";
}

double progressOf(const WhereCapture& capture, double now) {
    if (capture.phase == WherePhase::starting) {
        return 0;
    }
    if (capture.phase != WherePhase::tracking || capture.seconds <= 0) {
        return 1;
    }
    return std::clamp((now - capture.trackingSince) / capture.seconds, 0.0, 1.0);
}

std::vector<std::string> notesOf(const WhereCapture& capture, const WhereReport& report,
                                 const MonitorPaths& paths) {
    std::vector<std::string> notes;
    if (report.processEnded) {
        notes.push_back(processLabel(report.program, static_cast<pid_t>(report.pid)) +
                        " ended during tracking; the sites are what was recorded until then.");
    } else if (report.stoppedEarly) {
        notes.push_back("Stopped early; the sites are what was recorded until then.");
    }
    if (capture.restarted && report.relaunchedPid > 0) {
        notes.push_back(capture.title + " was started again without tracking as PID " +
                        std::to_string(report.relaunchedPid) + ".");
    }
    if (!report.note.empty()) {
        notes.push_back(report.note);
    }
    if (report.sites.empty()) {
        notes.push_back("No allocation site kept memory while it was tracked: it did not grow "
                        "on the heap meanwhile.");
    }
    if (!report.recording.empty()) {
        notes.push_back("Recording: " + paths.display(report.recording) +
                        ", kept with the "
                        "evidence.");
    }
    return notes;
}

void fillFinished(WhereItGrowsBlock& block, const WhereCapture& capture,
                  const ComposeContext& context, const FamilyView* family) {
    const std::string& key = capture.key;
    if (capture.report) {
        const WhereReport& report = *capture.report;
        block.stage = WhereStage::done;
        block.status = trackingSummary(report);
        for (std::size_t i = 0; i < report.sites.size() && i < kSitesShown; ++i) {
            block.sites.push_back(
                {siteHeadline(report.sites[i]), siteStackLines(report.sites[i], kFramesShown)});
        }
        block.notes = notesOf(capture, report, context.paths);
        block.actions.push_back(
            makeAction(ActionId::copyWhereReport, "Copy Report", ActionStyle::secondary, key));
        if (!report.recording.empty() && capture.viewerInstalled) {
            block.actions.push_back(makeAction(ActionId::openWhereRecording, "Open Recording",
                                               ActionStyle::secondary, key));
        }
        return;
    }
    const WhereFailure& failure = capture.failure.value_or(WhereFailure{});
    block.stage = WhereStage::blocked;
    block.status = failure.message;
    for (std::size_t i = 0; i < failure.commands.size() && i < kCopyCommands.size(); ++i) {
        block.commands.push_back(
            {failure.commands[i].command, failure.commands[i].explanation,
             makeAction(kCopyCommands[i], "Copy", ActionStyle::secondary, key)});
    }
    if (failure.restartHelps && family != nullptr && !family->isProtected) {
        block.notes.push_back("Restarting " + family->title +
                              " under heaptrack needs no attach: Velmora quits it, tracks the "
                              "new one, then starts it once more without tracking.");
        block.actions.push_back(makeAction(ActionId::restartWithTracking, "Restart with Tracking",
                                           ActionStyle::warning, key));
    }
}

} // namespace

bool offersWhere(const FamilyView& family, const WhereCaptures* captures) {
    if (family.isProtected || family.smokeRole != SmokeRole::none ||
        static_cast<int>(family.assessment.verdict) < static_cast<int>(FindingVerdict::suspect)) {
        return false;
    }
    const WhereCapture* running = captures != nullptr ? captures->running() : nullptr;
    return running == nullptr || running->key != family.key;
}

std::optional<WhereItGrowsBlock> whereSection(const ComposeContext& context,
                                              const std::string& key) {
    const WhereCapture* capture = context.where != nullptr ? context.where->find(key) : nullptr;
    if (capture == nullptr) {
        return std::nullopt;
    }
    WhereItGrowsBlock block;
    if (capture->phase == WherePhase::finished) {
        fillFinished(block, *capture, context, context.family(key));
        return block;
    }
    const std::string label = processLabel(capture->processName, capture->pid);
    block.stage = WhereStage::running;
    block.status = runningStatus(*capture, label, context.monotonicNow);
    block.progress = progressOf(*capture, context.monotonicNow);
    block.notes.push_back(capture->restarted
                              ? "Stopping ends tracking early: Velmora asks the tracked copy to "
                                "quit and starts it again without tracking."
                              : "The process keeps running, a little slower, while heaptrack "
                                "records its allocations; stopping early keeps what was "
                                "recorded.");
    block.actions.push_back(
        makeAction(ActionId::stopWhereTracking, "Stop", ActionStyle::secondary, key));
    return block;
}

std::string whereBugReport(const BugReportFacts& facts) {
    const WhereCapture& capture = *facts.capture;
    std::string text = "Memory leak report: " + capture.title + "\n\n";
    if (facts.family != nullptr && !facts.family->members.empty()) {
        const MemberView& main = facts.family->members.front();
        text += "Program: " + (main.identity.exe.empty() ? main.name : main.identity.exe) + "\n";
        if (!main.cmdline.empty()) {
            text += "Command line: " + main.cmdline + "\n";
        }
    }
    text += "Version: " +
            (facts.programVersion.empty() ? std::string("unknown") : facts.programVersion) + "\n\n";
    if (facts.family != nullptr) {
        const FamilyAssessment& a = facts.family->assessment;
        text += "Verdict: " + verdictLabel(a.verdict) + " (" + confidenceLabel(a) + "), " +
                rateText(a) + ", footprint " + formatKiB(facts.family->footprintKiB) + ".\n";
        text += explanationOf(*facts.family) + "\n";
        for (const std::string& reason : reasonsOf(*facts.family)) {
            text += "- " + reason + "\n";
        }
    }
    if (facts.evidence != nullptr) {
        text += "Evidence: " + facts.evidencePath +
                " (smaps_rollup, status and the largest "
                "anonymous mappings of each process).\n";
    }
    text += "\n";
    if (capture.report) {
        text += trackingSummary(*capture.report) + "\n";
        if (!facts.recordingPath.empty()) {
            text += "heaptrack recording: " + facts.recordingPath +
                    " (open it with heaptrack_gui or heaptrack_print).\n";
        }
        text += "\nWhere it grows (memory allocated during tracking and not freed, by call "
                "stack):\n" +
                (capture.report->sites.empty() ? std::string("(no site kept memory)\n")
                                               : sitesText(capture.report->sites));
    } else if (capture.failure) {
        text += "Heap tracking could not be done: " + capture.failure->message + "\n";
    }
    text += "\nFound by Velmora, a memory-leak monitor, with heaptrack.\n";
    return text;
}

} // namespace velmora
