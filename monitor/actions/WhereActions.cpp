// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/actions/WhereActions.h"

#include "monitor/actions/Clipboard.h"
#include "monitor/common/Formatting.h"
#include "monitor/common/ProcessLauncher.h"
#include "monitor/compose/ActionWording.h"
#include "monitor/compose/WhereSection.h"
#include "monitor/history/StoragePolicy.h"
#include "monitor/proc/ProcParsers.h"
#include "monitor/where/HeapTools.h"
#include "monitor/where/TraceAccess.h"
#include "monitor/where/WhereText.h"

#include <algorithm>
#include <unistd.h>

namespace velmora {
const MemberView* largestGrowingMember(const FamilyView& family) {
    // The member the family is flagged for, when its own growth is what was judged.
    if (const MemberView* grower = growingMemberOf(family); grower && !grower->isProtected) {
        return grower;
    }
    const MemberView* best = nullptr;
    for (const MemberView& member : family.members) {
        if (member.isProtected) {
            continue;
        }
        if (best == nullptr || member.growthKiB > best->growthKiB ||
            (member.growthKiB == best->growthKiB && member.footprintKiB > best->footprintKiB)) {
            best = &member;
        }
    }
    return best;
}

void WhereActions::dispatch(ActionId id, const FamilyView* family, const std::string& key) {
    switch (id) {
    case ActionId::cancelWhereItLeaks:
        context_.interaction.confirmation.reset();
        context_.feedback(ActionFeedbackKind::success, FeedbackCode::trackingCancelled);
        return;
    case ActionId::stopWhereTracking:
        stop(key);
        return;
    case ActionId::copyWhereReport:
        copyReport(key, family);
        return;
    case ActionId::openWhereRecording:
        openRecording(key);
        return;
    case ActionId::copyWhereCommand1:
    case ActionId::copyWhereCommand2:
    case ActionId::copyWhereCommand3:
        copyCommand(key, static_cast<std::size_t>(id) -
                             static_cast<std::size_t>(ActionId::copyWhereCommand1));
        return;
    // The action table lets these through only while the family runs.
    case ActionId::findWhereItLeaks:
        ask(*family);
        return;
    case ActionId::confirmWhereItLeaks:
        context_.interaction.confirmation.reset();
        attach(*family);
        return;
    case ActionId::restartWithTracking:
        askRestart(*family);
        return;
    case ActionId::confirmRestartWithTracking:
        context_.interaction.confirmation.reset();
        restartUnderTracking(*family);
        return;
    default:
        return;
    }
}

WhereCapture WhereActions::captureOf(const FamilyView& family) const {
    WhereCapture capture;
    capture.key = family.key;
    capture.title = family.title;
    capture.seconds = context_.tuning.whereSeconds;
    capture.recordingCapBytes =
        StoragePolicy::forMode(context_.config.storageMode()).recordingCapBytes();
    if (const MemberView* member = largestGrowingMember(family)) {
        capture.pid = member->identity.pid;
        capture.startTime = member->identity.startTime;
        capture.processName = member->name;
    }
    return capture;
}

std::optional<WhereFailure> WhereActions::obstacle(const FamilyView& family, bool attach) const {
    if (const WhereCapture* running = context_.where.running()) {
        return trackingFailure("busy", WhereFailureCode::busy, {.name = running->title});
    }
    const MemberView* member = largestGrowingMember(family);
    if (family.isProtected || member == nullptr) {
        return trackingFailure("protected", WhereFailureCode::protectedFamily);
    }
    if (auto missing = HeapTools::find().missingPackages(attach); !missing.empty()) {
        return notInstalledFailure(missing);
    }
    if (!attach) {
        return std::nullopt;
    }
    TraceAccess access = decideTraceAccess(readTraceFacts(context_.proc, member->identity.pid),
                                           context_.uid, ::getgid(), context_.self);
    if (access.allowed()) {
        return std::nullopt;
    }
    return failureOf(access);
}

void WhereActions::refuse(const FamilyView& family, WhereFailure failure) {
    context_.interaction.confirmation.reset();
    context_.feedback(ActionFeedbackKind::warning, FeedbackCode::trackingRefused,
                      {.detail = failure.message});
    context_.interaction.feedback->whereFailure = failure.sentences;
    if (failure.reason == "busy") {
        return; // the running tracking keeps its section
    }
    context_.where.refuse(captureOf(family), std::move(failure), context_.wallClock());
}

void WhereActions::confirm(const FamilyView& family, ConfirmationCode code, ActionFigures figures,
                           ActionId confirmId, ActionLabel confirmLabel) {
    context_.interaction.confirmation =
        codedConfirmation(code, std::move(figures),
                          codedAction(confirmId, confirmLabel, ActionStyle::primary, family.key),
                          codedAction(ActionId::cancelWhereItLeaks, ActionLabel::cancel,
                                      ActionStyle::secondary, family.key));
}

void WhereActions::ask(const FamilyView& family) {
    if (auto problem = obstacle(family, true)) {
        refuse(family, std::move(*problem));
        return;
    }
    WhereCapture capture = captureOf(family);
    confirm(family, ConfirmationCode::findWhereItLeaks,
            {.name = family.title,
             .process = capture.processName,
             .pid = capture.pid,
             .seconds = capture.seconds},
            ActionId::confirmWhereItLeaks, ActionLabel::startTracking);
}

void WhereActions::attach(const FamilyView& family) {
    if (auto problem = obstacle(family, true)) {
        refuse(family, std::move(*problem));
        return;
    }
    WhereCapture capture = captureOf(family);
    ActionFigures tracked{
        .process = capture.processName, .pid = capture.pid, .seconds = capture.seconds};
    std::string error;
    makeDirectories(context_.paths.artifactsDir);
    if (!context_.where.attach(std::move(capture), context_.paths.artifactsDir, error)) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::trackingFailed,
                          {.detail = error});
        return;
    }
    context_.interaction.addEvent(family.key, timelineEvent(context_.wallClock(),
                                                            TimelineEventCode::trackingAttached,
                                                            tracked, TimelineTone::evidence));
    context_.feedback(ActionFeedbackKind::success, FeedbackCode::trackingStarted,
                      std::move(tracked));
}

void WhereActions::askRestart(const FamilyView& family) {
    if (auto problem = obstacle(family, false)) {
        refuse(family, std::move(*problem));
        return;
    }
    confirm(family, ConfirmationCode::restartWithTracking,
            {.name = family.title, .seconds = context_.tuning.whereSeconds},
            ActionId::confirmRestartWithTracking, ActionLabel::restartWithTracking);
}

void WhereActions::restartUnderTracking(const FamilyView& family) {
    if (auto problem = obstacle(family, false)) {
        refuse(family, std::move(*problem));
        return;
    }
    std::string why;
    auto program = context_.actions.relaunchSpecOf(family, why);
    if (!program) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::restartTrackingFailed,
                          {.detail = why});
        return;
    }
    const MemberView& top = *topMembers(family).front();
    pid_t pid = top.identity.pid;
    QuitOutcome quit =
        context_.actions.quit(family, false, std::max(context_.tuning.actionWaitSeconds, 3.0));
    if (quit.refused) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::restartTrackingFailed,
                          {.detail = quit.reason});
        return;
    }
    if (quit.ended == 0) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::restartTrackingNotQuit,
                          {.name = family.title});
        return;
    }
    WhereCapture capture = captureOf(family);
    capture.pid = pid;
    capture.startTime = top.identity.startTime;
    capture.processName = top.name;
    std::string error;
    makeDirectories(context_.paths.artifactsDir);
    if (!context_.where.launch(std::move(capture), *program, context_.paths.artifactsDir, error)) {
        // It has quit: whatever went wrong, it is started again, untracked.
        LaunchResult again = context_.actions.startAgain(*program);
        if (again.ok) {
            context_.feedback(ActionFeedbackKind::error, FeedbackCode::restartTrackingUntracked,
                              {.name = family.title, .pid = again.pid, .detail = error});
        } else {
            context_.feedback(ActionFeedbackKind::error, FeedbackCode::restartTrackingNotStarted,
                              {.name = family.title, .detail = error, .moreDetail = again.error});
        }
        return;
    }
    context_.interaction.addEvent(
        family.key, timelineEvent(context_.wallClock(), TimelineEventCode::restartedUnderTracking,
                                  {.name = family.title}, TimelineTone::action));
    context_.feedback(ActionFeedbackKind::success, FeedbackCode::restartedUnderTracking,
                      {.name = family.title});
}

void WhereActions::stop(const std::string& key) {
    const WhereCapture* running = context_.where.running();
    if (running == nullptr || running->key != key) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::nothingToStop);
        return;
    }
    context_.where.stop();
    context_.feedback(ActionFeedbackKind::success, FeedbackCode::stoppingTracking);
}

std::string WhereActions::bugReport(const WhereCapture& capture, const FamilyView* family) const {
    BugReportFacts facts;
    facts.family = family;
    facts.capture = &capture;
    if (auto artifact = context_.interaction.artifacts.find(capture.key);
        artifact != context_.interaction.artifacts.end()) {
        facts.evidence = &artifact->second;
        facts.evidencePath = context_.paths.display(artifact->second.path);
    }
    facts.programVersion = capture.programVersion;
    if (capture.report) {
        facts.recordingPath = context_.paths.display(capture.report->recording);
    }
    return whereBugReport(facts);
}

void WhereActions::copyReport(const std::string& key, const FamilyView* family) {
    const WhereCapture* capture = context_.where.find(key);
    if (capture == nullptr || capture->phase != WherePhase::finished) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::noTrackingToCopy);
        return;
    }
    copyWithFeedback(context_, bugReport(*capture, family), FeedbackCode::reportCopied);
}

Json WhereActions::exportJson() const {
    auto view = context_.latestView();
    Json reports = Json::array();
    for (const WhereCapture* capture : context_.where.finished()) {
        const FamilyView* family = findFamily(view.get(), capture->key);
        Json entry{{"family", capture->key},
                   {"title", capture->title},
                   {"report", bugReport(*capture, family)}};
        if (capture->report) {
            entry["tracking"] = encodeRecord(*capture->report);
        }
        reports.push_back(std::move(entry));
    }
    return reports;
}

void WhereActions::openRecording(const std::string& key) {
    const WhereCapture* capture = context_.where.find(key);
    if (capture == nullptr || !capture->report || capture->report->recording.empty()) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::noRecording);
        return;
    }
    std::string gui = HeapTools::find().heaptrackGui;
    if (gui.empty()) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::noHeaptrackGui);
        return;
    }
    LaunchResult launched = launchDetached(gui, {"heaptrack_gui", capture->report->recording});
    if (!launched.ok) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::couldNotOpen,
                          {.detail = launched.error});
        return;
    }
    context_.feedback(ActionFeedbackKind::success, FeedbackCode::recordingOpened,
                      {.path = context_.paths.display(capture->report->recording)});
}

void WhereActions::copyCommand(const std::string& key, std::size_t index) {
    const WhereCapture* capture = context_.where.find(key);
    if (capture == nullptr || !capture->failure || index >= capture->failure->commands.size()) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::noSuchCommand);
        return;
    }
    copyWithFeedback(context_, capture->failure->commands[index].command,
                     FeedbackCode::commandCopied);
}

void WhereActions::follow() {
    context_.where.follow(context_.wallClock());
    for (const WhereCapture* capture : context_.where.takeUnannounced()) {
        if (capture->report) {
            const WhereReport& report = *capture->report;
            std::string line = report.sites.empty()
                                   ? "No allocation site kept memory while it was tracked."
                                   : siteHeadline(report.sites.front());
            context_.interaction.addEvent(
                capture->key,
                report.sites.empty()
                    ? timelineEvent(context_.wallClock(), TimelineEventCode::whereNoSite, {},
                                    TimelineTone::evidence)
                    : timelineEvent(context_.wallClock(), TimelineEventCode::whereItGrows,
                                    {.detail = line}, TimelineTone::evidence));
            ActionFigures figures{.name = capture->title};
            if (!report.sites.empty()) {
                figures.detail = line;
            }
            context_.feedback(ActionFeedbackKind::success,
                              report.sites.empty() ? FeedbackCode::whereNoSite
                                                   : FeedbackCode::whereItGrows,
                              std::move(figures));
        } else {
            const WhereFailure failure = capture->failure.value_or(WhereFailure{});
            context_.feedback(ActionFeedbackKind::warning, FeedbackCode::trackingUnfinished,
                              {.detail = failure.message});
            context_.interaction.feedback->whereFailure = failure.sentences;
        }
    }
}

} // namespace velmora
