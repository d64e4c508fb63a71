// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the monitor says about the person's actions, as codes and figures sent beside its
// texts: a button's label, the question before an action that cannot be undone, and the banner
// after an action. Each code has one English pattern here, which the monitor fills with its
// figures to write the text it sends and the app translates to compose its own; the two cannot
// drift apart. A code this build does not know decodes as unknown and the monitor's text is
// shown instead.

#include "model/JsonReader.h"
#include "model/OpenCode.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace velmora {

// A button's label.
enum class ActionLabel {
    inspect,
    captureEvidence,
    restart,
    recover,
    quitApp, // "Quit Firefox": the name is the app's title
    forceQuit,
    ignoreForDay,
    cancel,
    startTracking,
    restartWithTracking,
    // The detail's own buttons: its commands', its evidence's and its heap tracking's.
    copy,
    open,
    showInFolder,
    copyPath,
    exportReport,
    copyReport,
    openRecording,
    stop,
    findWhereItLeaks,
};

// The question asked before an action that cannot be undone.
enum class ConfirmationCode { forceQuit, findWhereItLeaks, restartWithTracking };

// The banner after an action: its title and message.
enum class FeedbackCode {
    unknownAction,
    familyGone,
    forceQuitCancelled,
    noArtifactToCopy,
    pathCopied,
    commandCopied,
    reportCopied,
    copyFailed,
    captureFailed,
    evidenceCaptured,
    recoveryFailed,
    recoveryCompleted,
    recoveryRequested,
    recoveryEnded,
    restartFailed,
    restartCompleted,
    forceQuitNotAllowed,
    forceQuitFailed,
    forceQuitCompleted,
    forceQuitIncomplete,
    ignoredUntilRestart,
    ignoredForDay,
    nothingToOpen,
    couldNotOpen,
    folderOpened,
    artifactOpened,
    reportExportFailed,
    reportExported,
    dataFolderOpenFailed,
    dataFolderOpened,
    trackingCancelled,
    trackingRefused,
    trackingFailed,
    trackingStarted,
    restartTrackingFailed,
    restartTrackingNotQuit,
    restartTrackingUntracked,
    restartTrackingNotStarted,
    restartedUnderTracking,
    nothingToStop,
    stoppingTracking,
    noTrackingToCopy,
    noSuchCommand,
    noRecording,
    noHeaptrackGui,
    recordingOpened,
    whereItGrows,
    whereNoSite,
    trackingUnfinished,
    requestRejected,
    quitting,
    settingsNotSaved,
};

template <> struct EnumTable<ActionLabel> {
    static constexpr std::array entries{
        std::pair{ActionLabel::inspect, std::string_view{"inspect"}},
        std::pair{ActionLabel::captureEvidence, std::string_view{"captureEvidence"}},
        std::pair{ActionLabel::restart, std::string_view{"restart"}},
        std::pair{ActionLabel::recover, std::string_view{"recover"}},
        std::pair{ActionLabel::quitApp, std::string_view{"quitApp"}},
        std::pair{ActionLabel::forceQuit, std::string_view{"forceQuit"}},
        std::pair{ActionLabel::ignoreForDay, std::string_view{"ignoreForDay"}},
        std::pair{ActionLabel::cancel, std::string_view{"cancel"}},
        std::pair{ActionLabel::startTracking, std::string_view{"startTracking"}},
        std::pair{ActionLabel::restartWithTracking, std::string_view{"restartWithTracking"}},
        std::pair{ActionLabel::copy, std::string_view{"copy"}},
        std::pair{ActionLabel::open, std::string_view{"open"}},
        std::pair{ActionLabel::showInFolder, std::string_view{"showInFolder"}},
        std::pair{ActionLabel::copyPath, std::string_view{"copyPath"}},
        std::pair{ActionLabel::exportReport, std::string_view{"exportReport"}},
        std::pair{ActionLabel::copyReport, std::string_view{"copyReport"}},
        std::pair{ActionLabel::openRecording, std::string_view{"openRecording"}},
        std::pair{ActionLabel::stop, std::string_view{"stop"}},
        std::pair{ActionLabel::findWhereItLeaks, std::string_view{"findWhereItLeaks"}},
    };
};

template <> struct EnumTable<ConfirmationCode> {
    static constexpr std::array entries{
        std::pair{ConfirmationCode::forceQuit, std::string_view{"forceQuit"}},
        std::pair{ConfirmationCode::findWhereItLeaks, std::string_view{"findWhereItLeaks"}},
        std::pair{ConfirmationCode::restartWithTracking, std::string_view{"restartWithTracking"}},
    };
};

template <> struct EnumTable<FeedbackCode> {
    using F = FeedbackCode;
    using W = std::string_view;
    static constexpr std::array entries{
        std::pair{F::unknownAction, W{"unknownAction"}},
        std::pair{F::familyGone, W{"familyGone"}},
        std::pair{F::forceQuitCancelled, W{"forceQuitCancelled"}},
        std::pair{F::noArtifactToCopy, W{"noArtifactToCopy"}},
        std::pair{F::pathCopied, W{"pathCopied"}},
        std::pair{F::commandCopied, W{"commandCopied"}},
        std::pair{F::reportCopied, W{"reportCopied"}},
        std::pair{F::copyFailed, W{"copyFailed"}},
        std::pair{F::captureFailed, W{"captureFailed"}},
        std::pair{F::evidenceCaptured, W{"evidenceCaptured"}},
        std::pair{F::recoveryFailed, W{"recoveryFailed"}},
        std::pair{F::recoveryCompleted, W{"recoveryCompleted"}},
        std::pair{F::recoveryRequested, W{"recoveryRequested"}},
        std::pair{F::recoveryEnded, W{"recoveryEnded"}},
        std::pair{F::restartFailed, W{"restartFailed"}},
        std::pair{F::restartCompleted, W{"restartCompleted"}},
        std::pair{F::forceQuitNotAllowed, W{"forceQuitNotAllowed"}},
        std::pair{F::forceQuitFailed, W{"forceQuitFailed"}},
        std::pair{F::forceQuitCompleted, W{"forceQuitCompleted"}},
        std::pair{F::forceQuitIncomplete, W{"forceQuitIncomplete"}},
        std::pair{F::ignoredUntilRestart, W{"ignoredUntilRestart"}},
        std::pair{F::ignoredForDay, W{"ignoredForDay"}},
        std::pair{F::nothingToOpen, W{"nothingToOpen"}},
        std::pair{F::couldNotOpen, W{"couldNotOpen"}},
        std::pair{F::folderOpened, W{"folderOpened"}},
        std::pair{F::artifactOpened, W{"artifactOpened"}},
        std::pair{F::reportExportFailed, W{"reportExportFailed"}},
        std::pair{F::reportExported, W{"reportExported"}},
        std::pair{F::dataFolderOpenFailed, W{"dataFolderOpenFailed"}},
        std::pair{F::dataFolderOpened, W{"dataFolderOpened"}},
        std::pair{F::trackingCancelled, W{"trackingCancelled"}},
        std::pair{F::trackingRefused, W{"trackingRefused"}},
        std::pair{F::trackingFailed, W{"trackingFailed"}},
        std::pair{F::trackingStarted, W{"trackingStarted"}},
        std::pair{F::restartTrackingFailed, W{"restartTrackingFailed"}},
        std::pair{F::restartTrackingNotQuit, W{"restartTrackingNotQuit"}},
        std::pair{F::restartTrackingUntracked, W{"restartTrackingUntracked"}},
        std::pair{F::restartTrackingNotStarted, W{"restartTrackingNotStarted"}},
        std::pair{F::restartedUnderTracking, W{"restartedUnderTracking"}},
        std::pair{F::nothingToStop, W{"nothingToStop"}},
        std::pair{F::stoppingTracking, W{"stoppingTracking"}},
        std::pair{F::noTrackingToCopy, W{"noTrackingToCopy"}},
        std::pair{F::noSuchCommand, W{"noSuchCommand"}},
        std::pair{F::noRecording, W{"noRecording"}},
        std::pair{F::noHeaptrackGui, W{"noHeaptrackGui"}},
        std::pair{F::recordingOpened, W{"recordingOpened"}},
        std::pair{F::whereItGrows, W{"whereItGrows"}},
        std::pair{F::whereNoSite, W{"whereNoSite"}},
        std::pair{F::trackingUnfinished, W{"trackingUnfinished"}},
        std::pair{F::requestRejected, W{"requestRejected"}},
        std::pair{F::quitting, W{"quitting"}},
        std::pair{F::settingsNotSaved, W{"settingsNotSaved"}},
    };
};

// The figures an action's texts take; each code uses the few its pattern names.
struct ActionFigures {
    std::optional<std::string> name = std::nullopt;    // an app's title, shown as it is
    std::optional<std::string> process = std::nullopt; // a process's name, with `pid`
    std::optional<int64_t> pid = std::nullopt;
    std::optional<int64_t> count = std::nullopt;
    std::optional<int64_t> total = std::nullopt;
    std::optional<double> footprintKiB = std::nullopt;
    std::optional<double> seconds = std::nullopt;   // how long a tracking runs
    std::optional<double> atSeconds = std::nullopt; // a time of day, as Unix seconds
    std::optional<std::string> path = std::nullopt; // a file or folder, shown as sent
    // What the system or a tool said (an error, a copied text), shown as sent inside the
    // translated sentence; `moreDetail` is a second one.
    std::optional<std::string> detail = std::nullopt;
    std::optional<std::string> moreDetail = std::nullopt;
    std::optional<double> secondsLeft = std::nullopt; // what remains of a tracking under way

    bool operator==(const ActionFigures&) const = default;
};

// A code and its figures, in one JSON object: {"code": "quitApp", "name": "Firefox"}.
template <WireEnum E> struct ActionCoded {
    OpenCode<E> code;
    ActionFigures figures;

    bool operator==(const ActionCoded&) const = default;
};

using ActionLabelCodes = ActionCoded<ActionLabel>;
using ConfirmationCodes = ActionCoded<ConfirmationCode>;
using FeedbackCodes = ActionCoded<FeedbackCode>;

// A figure a pattern takes, in the order of its place markers.
enum class ActionFigure {
    name,
    process, // "worker (PID 4242)", or "PID 4242" without a name
    pid,
    count,
    total,
    size,  // footprintKiB: "1.9 GB"
    span,  // seconds: "45 s", "15 min"
    clock, // atSeconds: "14:05"
    path,
    detail,
    moreDetail,
    countdown, // secondsLeft: "45 s left", "2 min 5 s left"
};

// One English text with the figures its place markers "%1", "%2", ... stand for. The text is
// marked for the catalogue under `context`.
struct ActionPattern {
    const char* context;
    const char* text;
    std::span<const ActionFigure> figures;
};

ActionPattern labelPattern(ActionLabel label);
// The question's title and message.
ActionPattern confirmationTitlePattern(ConfirmationCode code);
ActionPattern confirmationMessagePattern(ConfirmationCode code);
// The message for these figures: a force quit of a single process has a sentence of its own.
ActionPattern confirmationMessagePattern(ConfirmationCode code, const ActionFigures& figures);
// The banner's title and message.
ActionPattern feedbackTitlePattern(FeedbackCode code);
ActionPattern feedbackMessagePattern(FeedbackCode code);

// The text of `pattern` with each place marker replaced by what `write` writes of its figure;
// none when `write` has nothing for one (a figure the code needs is missing).
using FigureWriter = std::function<std::optional<std::string>(ActionFigure, const ActionFigures&)>;
std::optional<std::string> fillPattern(std::string_view text, const ActionPattern& pattern,
                                       const ActionFigures& figures, const FigureWriter& write);

ActionFigures readActionFigures(const ObjectReader& in);
ObjectWriter& writeActionFigures(ObjectWriter& out, const ActionFigures& figures);

template <WireEnum E>
ActionCoded<E> decodeRecord(const Json& json, std::type_identity<ActionCoded<E>>) {
    const ObjectReader in(json);
    return {.code = in.required<OpenCode<E>>("code"), .figures = readActionFigures(in)};
}

template <WireEnum E> Json encodeRecord(const ActionCoded<E>& value) {
    ObjectWriter out;
    out.field("code", value.code);
    return writeActionFigures(out, value.figures).done();
}

} // namespace velmora
