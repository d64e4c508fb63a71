// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/WhereSection.h"

#include "model/DetailSnapshot.h"
#include "monitor/common/Formatting.h"
#include "monitor/compose/ActionWording.h"
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

// The status line, written from its code and kept with it.
void setStatus(WhereItGrowsBlock& block, WhereStatusCode code, ActionFigures figures) {
    block.status = englishText(wherePattern(code), figures);
    block.codes->status = WhereStatusCodes{code, std::move(figures)};
}

// A note, written from its code and kept with it.
void addNote(WhereItGrowsBlock& block, WhereNoteCode code, ActionFigures figures = {}) {
    block.notes.push_back(englishText(wherePattern(code), figures));
    block.codes->notes.push_back(WhereNoteCodes{code, std::move(figures)});
}

void setRunningStatus(WhereItGrowsBlock& block, const WhereCapture& capture, double now) {
    ActionFigures process = processFigures(capture.processName, capture.pid);
    switch (capture.phase) {
    case WherePhase::starting:
        return capture.restarted
                   ? setStatus(block, WhereStatusCode::restarting, {.name = capture.title})
                   : setStatus(block, WhereStatusCode::attaching, std::move(process));
    case WherePhase::tracking:
        process.secondsLeft = capture.trackingSince + capture.seconds - now;
        return setStatus(block, WhereStatusCode::tracking, std::move(process));
    case WherePhase::stopping:
        return capture.restarted
                   ? setStatus(block, WhereStatusCode::askingToQuit, {.name = capture.title})
                   : setStatus(block, WhereStatusCode::detaching, std::move(process));
    case WherePhase::analysing:
    case WherePhase::finished:
        break;
    }
    setStatus(block, WhereStatusCode::reading, std::move(process));
}

// "Tracked leak (PID 4242) for 60 s; 19.2 MB allocated meanwhile was not freed."
void setSummary(WhereItGrowsBlock& block, const WhereReport& report) {
    ActionFigures figures = processFigures(report.program, report.pid);
    figures.seconds = report.trackedSeconds;
    figures.footprintKiB = static_cast<double>(report.leakedBytes) / 1024.0;
    const WhereStatusCode code = report.processEnded   ? WhereStatusCode::trackedUntilEnded
                                 : report.stoppedEarly ? WhereStatusCode::trackedStoppedEarly
                                                       : WhereStatusCode::tracked;
    setStatus(block, code, std::move(figures));
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

void addNotes(WhereItGrowsBlock& block, const WhereCapture& capture, const WhereReport& report,
              const MonitorPaths& paths) {
    if (report.processEnded) {
        addNote(block, WhereNoteCode::processEnded, processFigures(report.program, report.pid));
    } else if (report.stoppedEarly) {
        addNote(block, WhereNoteCode::stoppedEarly);
    }
    if (capture.restarted && report.relaunchedPid > 0) {
        addNote(block, WhereNoteCode::startedAgain,
                {.name = capture.title, .pid = report.relaunchedPid});
    }
    if (!report.note.empty()) {
        addNote(block, WhereNoteCode::trackerNote, {.detail = report.note});
    }
    if (report.sites.empty()) {
        addNote(block, WhereNoteCode::noSiteKept);
    }
    if (!report.recording.empty()) {
        addNote(block, WhereNoteCode::recordingKept, {.path = paths.display(report.recording)});
    }
}

void fillFinished(WhereItGrowsBlock& block, const WhereCapture& capture,
                  const ComposeContext& context, const FamilyView* family) {
    const std::string& key = capture.key;
    if (capture.report) {
        const WhereReport& report = *capture.report;
        block.stage = WhereStage::done;
        setSummary(block, report);
        for (std::size_t i = 0; i < report.sites.size() && i < kSitesShown; ++i) {
            block.sites.push_back(
                {siteHeadline(report.sites[i]), siteStackLines(report.sites[i], kFramesShown)});
            block.codes->sites.push_back(siteCodes(report.sites[i]));
        }
        addNotes(block, capture, report, context.paths);
        block.actions.push_back(codedAction(ActionId::copyWhereReport, ActionLabel::copyReport,
                                            ActionStyle::secondary, key));
        if (!report.recording.empty() && capture.viewerInstalled) {
            block.actions.push_back(codedAction(ActionId::openWhereRecording,
                                                ActionLabel::openRecording, ActionStyle::secondary,
                                                key));
        }
        return;
    }
    const WhereFailure& failure = capture.failure.value_or(WhereFailure{});
    block.stage = WhereStage::blocked;
    block.status = failure.message;
    block.codes->failure = failure.sentences;
    for (std::size_t i = 0; i < failure.commands.size() && i < kCopyCommands.size(); ++i) {
        const SuggestedCommand& command = failure.commands[i];
        block.commands.push_back(
            {command.command, command.explanation,
             codedAction(kCopyCommands[i], ActionLabel::copy, ActionStyle::secondary, key)});
        if (command.code) {
            block.codes->commands.push_back(*command.code);
        }
    }
    if (failure.restartHelps && family != nullptr && !family->isProtected) {
        addNote(block, WhereNoteCode::restartNeedsNoAttach, {.name = family->title});
        block.actions.push_back(codedAction(ActionId::restartWithTracking,
                                            ActionLabel::restartWithTracking, ActionStyle::warning,
                                            key));
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
    return whereBlockOf(context, *capture);
}

WhereItGrowsBlock whereBlockOf(const ComposeContext& context, const WhereCapture& capture) {
    WhereItGrowsBlock block;
    block.codes.emplace();
    if (capture.phase == WherePhase::finished) {
        fillFinished(block, capture, context, context.family(capture.key));
        return block;
    }
    block.stage = WhereStage::running;
    setRunningStatus(block, capture, context.monotonicNow);
    block.progress = progressOf(capture, context.monotonicNow);
    addNote(block, capture.restarted ? WhereNoteCode::stopRestarts : WhereNoteCode::keepsRunning);
    block.actions.push_back(codedAction(ActionId::stopWhereTracking, ActionLabel::stop,
                                        ActionStyle::secondary, capture.key));
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
