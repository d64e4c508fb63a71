// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/actions/ActionHandler.h"

#include "monitor/actions/Clipboard.h"
#include "monitor/common/Formatting.h"
#include "monitor/common/ProcessLauncher.h"
#include "monitor/compose/ActionWording.h"
#include "monitor/compose/DetailBuilder.h"
#include "monitor/families/SmokeTargets.h"

#include <array>
#include <cstdlib>
#include <poll.h>

namespace velmora {
void ActionHandler::recordOutcome(const FamilyView& family, TimelineEventCode code,
                                  ActionFigures figures, TimelineTone tone) {
    IncidentTimelineItem event =
        timelineEvent(context_.wallClock(), code, std::move(figures), tone);
    context_.interaction.outcomes[family.key] = event.detail;
    context_.interaction.addEvent(family.key, std::move(event));
}

void ActionHandler::remember(const std::string& action, const std::string& key,
                             const std::string& title) {
    const auto& feedback = context_.interaction.feedback;
    // Self-check targets are test processes, not the user's applications.
    if (context_.history == nullptr || !feedback || key == kRecoverySmokeKey ||
        key == kRestartSmokeKey) {
        return;
    }
    context_.history->recordAction(key, title, action, feedback->title + ": " + feedback->message,
                                   feedback->kind == ActionFeedbackKind::success);
}

const ActionHandler::Route& ActionHandler::routeOf(ActionId id) {
    // One row per action, in the order of ActionId: whether it needs the family to be there
    // still, and whether what it did goes into the history.
    static constexpr std::array<Route, EnumTable<ActionId>::entries.size()> routes{{
        {ActionId::selectDetail, false, false, &ActionHandler::selectDetail},
        {ActionId::dismissDetail, false, false, &ActionHandler::dismissDetail},
        {ActionId::captureStrongerEvidence, true, false, &ActionHandler::capture},
        {ActionId::openArtifactExternal, false, false, &ActionHandler::openArtifactFile},
        {ActionId::revealArtifact, false, false, &ActionHandler::revealArtifact},
        {ActionId::copyArtifactPath, false, false, &ActionHandler::copyArtifactPath},
        {ActionId::recover, true, true, &ActionHandler::recover},
        {ActionId::restart, true, true, &ActionHandler::restart},
        {ActionId::requestForceQuit, true, false, &ActionHandler::requestForceQuit},
        {ActionId::confirmForceQuit, true, true, &ActionHandler::confirmForceQuit},
        {ActionId::cancelForceQuit, false, false, &ActionHandler::cancelForceQuit},
        {ActionId::ignore, false, true, &ActionHandler::ignore},
        // The router carries out reports: it can compose the snapshot they hold.
        {ActionId::exportReport, false, false, &ActionHandler::nothing},
        {ActionId::copyCommand1, true, false, &ActionHandler::copyFirstCommand},
        {ActionId::copyCommand2, true, false, &ActionHandler::copySecondCommand},
        {ActionId::findWhereItLeaks, true, false, &ActionHandler::trackWhere},
        {ActionId::confirmWhereItLeaks, true, false, &ActionHandler::trackWhere},
        {ActionId::cancelWhereItLeaks, false, false, &ActionHandler::trackWhere},
        {ActionId::stopWhereTracking, false, false, &ActionHandler::trackWhere},
        {ActionId::restartWithTracking, true, false, &ActionHandler::trackWhere},
        {ActionId::confirmRestartWithTracking, true, false, &ActionHandler::trackWhere},
        {ActionId::copyWhereReport, false, false, &ActionHandler::trackWhere},
        {ActionId::openWhereRecording, false, false, &ActionHandler::trackWhere},
        {ActionId::copyWhereCommand1, false, false, &ActionHandler::trackWhere},
        {ActionId::copyWhereCommand2, false, false, &ActionHandler::trackWhere},
        {ActionId::copyWhereCommand3, false, false, &ActionHandler::trackWhere},
    }};
    static_assert(
        [] {
            for (std::size_t i = 0; i < routes.size(); ++i) {
                if (static_cast<std::size_t>(routes[i].id) != i) {
                    return false;
                }
            }
            return true;
        }(),
        "one route per action, in the order of ActionId");
    return routes[static_cast<std::size_t>(id)];
}

void ActionHandler::dispatch(const std::string& actionId, const std::string& key) {
    auto id = fromWire<ActionId>(actionId);
    if (!id) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::unknownAction,
                          {.detail = actionId});
        return;
    }
    const Route& route = routeOf(*id);
    auto view = context_.latestView();
    Target target{*id, key, findFamily(view.get(), key)};
    if (route.needsFamily && target.family == nullptr) {
        context_.interaction.confirmation.reset();
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::familyGone);
        return;
    }
    (this->*route.run)(target);
    if (route.remembered && target.family != nullptr) {
        remember(actionId, key, target.family->title);
    }
}

void ActionHandler::selectDetail(const Target& target) {
    context_.interaction.selectedKey = target.key;
}

void ActionHandler::dismissDetail(const Target&) {
    context_.interaction.selectedKey.reset();
    context_.interaction.confirmation.reset();
}

void ActionHandler::cancelForceQuit(const Target&) {
    context_.interaction.confirmation.reset();
    context_.feedback(ActionFeedbackKind::success, FeedbackCode::forceQuitCancelled);
}

void ActionHandler::confirmForceQuit(const Target& target) {
    context_.interaction.confirmation.reset();
    forceQuit(*target.family);
}

void ActionHandler::openArtifactFile(const Target& target) {
    openArtifact(target.key, false);
}

void ActionHandler::revealArtifact(const Target& target) {
    openArtifact(target.key, true);
}

void ActionHandler::copyArtifactPath(const Target& target) {
    auto it = context_.interaction.artifacts.find(target.key);
    if (it == context_.interaction.artifacts.end()) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::noArtifactToCopy);
        return;
    }
    copyWithFeedback(context_, it->second.path, FeedbackCode::pathCopied);
}

void ActionHandler::copyFirstCommand(const Target& target) {
    copyCommand(*target.family, 0);
}

void ActionHandler::copySecondCommand(const Target& target) {
    copyCommand(*target.family, 1);
}

void ActionHandler::copyCommand(const FamilyView& family, std::size_t index) {
    auto commands = nextCommandsOf(family);
    if (index < commands.size()) {
        copyWithFeedback(context_, commands[index].command, FeedbackCode::commandCopied);
    }
}

void ActionHandler::nothing(const Target&) {}

void ActionHandler::trackWhere(const Target& target) {
    where_.dispatch(target.id, target.family, target.key);
}

void ActionHandler::capture(const Target& target) {
    capture(*target.family);
}

void ActionHandler::recover(const Target& target) {
    recover(*target.family);
}

void ActionHandler::restart(const Target& target) {
    restart(*target.family);
}

void ActionHandler::requestForceQuit(const Target& target) {
    requestForceQuit(*target.family);
}

void ActionHandler::ignore(const Target& target) {
    ignore(target.key, target.family ? target.family->title : target.key);
}

void ActionHandler::capture(const FamilyView& family) {
    std::string error;
    auto artifact = context_.artifacts.captureEvidence(family, context_.wallClock(), error);
    if (!artifact) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::captureFailed,
                          {.detail = error});
        return;
    }
    context_.interaction.artifacts[family.key] = *artifact;
    if (context_.history != nullptr) {
        context_.history->recordArtifact(family.key, family.title, artifact->path, artifact->bytes,
                                         static_cast<int64_t>(artifact->wallTime * 1000.0));
    }
    context_.interaction.addEvent(
        family.key,
        timelineEvent(artifact->wallTime, TimelineEventCode::evidenceCaptured,
                      {.path = context_.paths.display(artifact->path)}, TimelineTone::evidence));
    context_.feedback(ActionFeedbackKind::success, FeedbackCode::evidenceCaptured,
                      {.path = context_.paths.display(artifact->path)});
}

void ActionHandler::recover(const FamilyView& family) {
    double wait = context_.tuning.actionWaitSeconds;
    QuitOutcome outcome = context_.actions.quit(family, false, wait);
    if (outcome.refused) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::recoveryFailed,
                          {.detail = outcome.reason});
        return;
    }
    if (outcome.stillRunning.empty()) {
        const ActionFigures given{.name = family.title,
                                  .footprintKiB = static_cast<double>(family.footprintKiB)};
        context_.feedback(ActionFeedbackKind::success, FeedbackCode::recoveryCompleted, given);
        recordOutcome(family, TimelineEventCode::recovered, given, TimelineTone::outcome);
        return;
    }
    recordOutcome(family, TimelineEventCode::quitRequested, {.name = family.title},
                  TimelineTone::action);
    context_.feedback(ActionFeedbackKind::warning, FeedbackCode::recoveryRequested,
                      {.name = family.title});
    pending_.push_back({family.key, family.title, std::move(outcome.stillRunning)});
}

void ActionHandler::restart(const FamilyView& family) {
    std::string message;
    auto started =
        context_.actions.restart(family, std::max(context_.tuning.actionWaitSeconds, 3.0), message);
    if (!started) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::restartFailed,
                          {.detail = message});
        return;
    }
    const ActionFigures restarted{.name = family.title, .pid = *started};
    context_.feedback(ActionFeedbackKind::success, FeedbackCode::restartCompleted, restarted);
    recordOutcome(family, TimelineEventCode::restarted, restarted, TimelineTone::outcome);
}

void ActionHandler::requestForceQuit(const FamilyView& family) {
    if (family.isProtected) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::forceQuitNotAllowed);
        return;
    }
    context_.interaction.confirmation = forceQuitConfirmation(family);
}

void ActionHandler::forceQuit(const FamilyView& family) {
    QuitOutcome outcome = context_.actions.quit(family, true, context_.tuning.actionWaitSeconds);
    if (outcome.refused) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::forceQuitFailed,
                          {.detail = outcome.reason});
        return;
    }
    const bool complete = outcome.stillRunning.empty();
    const ActionFigures ended{
        .name = family.title, .count = outcome.ended, .total = outcome.signalled};
    context_.feedback(
        complete ? ActionFeedbackKind::success : ActionFeedbackKind::warning,
        complete ? FeedbackCode::forceQuitCompleted : FeedbackCode::forceQuitIncomplete, ended);
    recordOutcome(family,
                  complete ? TimelineEventCode::forceQuitCompleted
                           : TimelineEventCode::forceQuitIncomplete,
                  ended, TimelineTone::action);
}

void ActionHandler::ignore(const std::string& key, const std::string& title) {
    double until = context_.wallClock() + context_.tuning.ignoreSeconds;
    context_.config.ignore(key, title, until);
    std::string error;
    if (!context_.config.save(error)) {
        context_.feedback(ActionFeedbackKind::warning, FeedbackCode::ignoredUntilRestart,
                          {.name = title, .detail = error});
        return;
    }
    context_.feedback(ActionFeedbackKind::success, FeedbackCode::ignoredForDay,
                      {.name = title, .atSeconds = until});
}

void ActionHandler::openArtifact(const std::string& key, bool folder) {
    auto it = context_.interaction.artifacts.find(key);
    if (it == context_.interaction.artifacts.end()) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::nothingToOpen);
        return;
    }
    std::string target = folder ? context_.paths.artifactsDir : it->second.path;
    LaunchResult launched = launchDetached("xdg-open", {"xdg-open", target});
    if (!launched.ok) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::couldNotOpen,
                          {.detail = launched.error});
        return;
    }
    context_.feedback(ActionFeedbackKind::success,
                      folder ? FeedbackCode::folderOpened : FeedbackCode::artifactOpened,
                      {.path = context_.paths.display(target)});
}

void ActionHandler::exportReport(const std::function<PopoverSnapshot()>& compose) {
    std::string error;
    auto path = context_.artifacts.exportReport(compose(), context_.wallClock(), error,
                                                where_.exportJson());
    if (!path) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::reportExportFailed,
                          {.detail = error});
        return;
    }
    context_.feedback(ActionFeedbackKind::success, FeedbackCode::reportExported,
                      {.path = context_.paths.display(*path)});
}

void ActionHandler::openDataFolder() {
    makeDirectories(context_.paths.dataDir);
    LaunchResult launched = launchDetached("xdg-open", {"xdg-open", context_.paths.dataDir});
    if (!launched.ok) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::dataFolderOpenFailed,
                          {.detail = launched.error});
        return;
    }
    context_.feedback(ActionFeedbackKind::success, FeedbackCode::dataFolderOpened,
                      {.path = context_.paths.display(context_.paths.dataDir)});
}

void ActionHandler::checkPendingExits() {
    reapLingeringChildren();
    for (auto it = pending_.begin(); it != pending_.end();) {
        std::erase_if(it->pidfds, [](const UniqueFd& fd) {
            return ProcessSignaller::waitForExit(fd.get(), 0);
        });
        if (it->pidfds.empty()) {
            context_.interaction.outcomes[it->key] = it->title + " quit gracefully.";
            context_.feedback(ActionFeedbackKind::success, FeedbackCode::recoveryEnded,
                              {.name = it->title});
            remember(std::string(toWire(ActionId::recover)), it->key, it->title);
            it = pending_.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace velmora
