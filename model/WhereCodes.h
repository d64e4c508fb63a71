// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the detail's heap tracking says, as codes and figures sent beside its texts: the status
// line and each note. Each code has one English pattern here, which the monitor fills with its
// figures to write the text it sends and the app translates to compose its own. A code this
// build does not know decodes as unknown and the monitor's text is shown instead.

#include "model/ActionCodes.h"

#include <vector>

namespace velmora {

// The status line: while tracking runs (attaching or starting, tracking with its countdown,
// detaching or asking the tracked copy to quit, reading the recording), then its summary.
enum class WhereStatusCode {
    attaching,
    restarting,
    tracking,
    detaching,
    askingToQuit,
    reading,
    tracked,
    trackedUntilEnded,
    trackedStoppedEarly,
};

// One note under the status.
enum class WhereNoteCode {
    keepsRunning,         // attached: the process runs on while tracked
    stopRestarts,         // restarted: stopping quits the tracked copy and starts it again
    processEnded,         // the process ended while it was tracked
    stoppedEarly,         // the person stopped the tracking early
    startedAgain,         // the restarted app runs again, untracked, under a new id
    trackerNote,          // the tracker's own note, shown as it came (`detail`)
    noSiteKept,           // nothing grew on the heap while it was tracked
    recordingKept,        // where the recording is kept (`path`)
    restartNeedsNoAttach, // attaching is refused, restarting under tracking would work
};

// Why heap tracking could not be done, one code a sentence: Velmora's own rules, the kernel's
// ptrace rule, missing packages, and what went wrong while attaching, recording, detaching or
// starting the program again. A tool's or the system's own words travel as `detail`.
enum class WhereFailureCode {
    noProcess,               // pid
    self,                    //
    otherUser,               // process
    setId,                   // process
    notDumpable,             // process
    attachOnlyToChildren,    // process: ptrace_scope is 1
    attachOnlyAsAdmin,       // process: ptrace_scope is 2
    attachNeverUntilBoot,    // process: ptrace_scope is 3
    attachRefused,           // process
    packageMissing,          // name (the package), detail (the command that installs it)
    packagesMissing,         // name (all but the last), moreDetail (the last), detail (command)
    gdbWithoutPython,        // detail (the command that installs gdb)
    busy,                    // name (the app tracked now)
    protectedFamily,         //
    pidReused,               // pid, name (the program that holds the PID now)
    endedBeforeAttach,       // process
    loaderUnknown,           // process, detail
    attachBusy,              // process
    attachTimedOut,          // process
    attachFailed,            // process, detail
    detachTimedOut,          // process, path (where it goes on recording)
    detachBusy,              // process, path
    detachFailed,            // process, detail, path
    readerEndedProcessEnded, // process
    readerEndedProcessRuns,  // process
    noProgram,               //
    preloadMissing,          // name (the program)
    launchFailed,            // name, detail
    wentOnInChild,           // name, pid, path
    readerEndedLaunched,     // name
    relaunched,              // name, pid: follows the failure of a launched program
    relaunchFailedToo,       // name, detail: follows the failure of a launched program
    relaunchFailed,          // name, detail: the recording is kept
    evidenceFolder,          // path
    nothingRecorded,         //
    recordingUnread,         // detail (what went wrong reading it), path
    answerUnread,            // detail
    reportUnread,            // detail
    noReport,                //
    toolProblem,             // detail: a problem of the tracking's own tools, in their words
    pipeFolderFailed,        // detail (the system's error)
    pipeFailed,              // detail
    pipeOpenFailed,          // detail
    recordingUnfinished,     // count (seconds waited)
    noRecordingWritten,      //
};

// What a command offered instead of the tracking does.
enum class WhereCommandCode {
    allowAttach,           // relaxes the kernel's ptrace rule
    trackUntilInterrupted, // heaptrack -p PID
    restoreRule,           // sets the ptrace rule back
    trackAsAdmin,          // sudo heaptrack -p PID
    installPackages,       // installs what heap tracking needs
    installGdb,            // installs gdb with Python
};

// Where an allocation site is, as its line names it: a source file and line with its function
// ("cache.cpp:5 in leakyCacheInsert()"), a function in a library without a source line, a
// function alone, or an unknown place.
enum class SitePlaceCode { inSource, inLibrary, function, unknown };

template <> struct EnumTable<WhereStatusCode> {
    using S = WhereStatusCode;
    using W = std::string_view;
    static constexpr std::array entries{
        std::pair{S::attaching, W{"attaching"}},
        std::pair{S::restarting, W{"restarting"}},
        std::pair{S::tracking, W{"tracking"}},
        std::pair{S::detaching, W{"detaching"}},
        std::pair{S::askingToQuit, W{"askingToQuit"}},
        std::pair{S::reading, W{"reading"}},
        std::pair{S::tracked, W{"tracked"}},
        std::pair{S::trackedUntilEnded, W{"trackedUntilEnded"}},
        std::pair{S::trackedStoppedEarly, W{"trackedStoppedEarly"}},
    };
};

template <> struct EnumTable<WhereNoteCode> {
    using N = WhereNoteCode;
    using W = std::string_view;
    static constexpr std::array entries{
        std::pair{N::keepsRunning, W{"keepsRunning"}},
        std::pair{N::stopRestarts, W{"stopRestarts"}},
        std::pair{N::processEnded, W{"processEnded"}},
        std::pair{N::stoppedEarly, W{"stoppedEarly"}},
        std::pair{N::startedAgain, W{"startedAgain"}},
        std::pair{N::trackerNote, W{"trackerNote"}},
        std::pair{N::noSiteKept, W{"noSiteKept"}},
        std::pair{N::recordingKept, W{"recordingKept"}},
        std::pair{N::restartNeedsNoAttach, W{"restartNeedsNoAttach"}},
    };
};

template <> struct EnumTable<WhereFailureCode> {
    using C = WhereFailureCode;
    using W = std::string_view;
    static constexpr std::array entries{
        std::pair{C::noProcess, W{"noProcess"}},
        std::pair{C::self, W{"self"}},
        std::pair{C::otherUser, W{"otherUser"}},
        std::pair{C::setId, W{"setId"}},
        std::pair{C::notDumpable, W{"notDumpable"}},
        std::pair{C::attachOnlyToChildren, W{"attachOnlyToChildren"}},
        std::pair{C::attachOnlyAsAdmin, W{"attachOnlyAsAdmin"}},
        std::pair{C::attachNeverUntilBoot, W{"attachNeverUntilBoot"}},
        std::pair{C::attachRefused, W{"attachRefused"}},
        std::pair{C::packageMissing, W{"packageMissing"}},
        std::pair{C::packagesMissing, W{"packagesMissing"}},
        std::pair{C::gdbWithoutPython, W{"gdbWithoutPython"}},
        std::pair{C::busy, W{"busy"}},
        std::pair{C::protectedFamily, W{"protectedFamily"}},
        std::pair{C::pidReused, W{"pidReused"}},
        std::pair{C::endedBeforeAttach, W{"endedBeforeAttach"}},
        std::pair{C::loaderUnknown, W{"loaderUnknown"}},
        std::pair{C::attachBusy, W{"attachBusy"}},
        std::pair{C::attachTimedOut, W{"attachTimedOut"}},
        std::pair{C::attachFailed, W{"attachFailed"}},
        std::pair{C::detachTimedOut, W{"detachTimedOut"}},
        std::pair{C::detachBusy, W{"detachBusy"}},
        std::pair{C::detachFailed, W{"detachFailed"}},
        std::pair{C::readerEndedProcessEnded, W{"readerEndedProcessEnded"}},
        std::pair{C::readerEndedProcessRuns, W{"readerEndedProcessRuns"}},
        std::pair{C::noProgram, W{"noProgram"}},
        std::pair{C::preloadMissing, W{"preloadMissing"}},
        std::pair{C::launchFailed, W{"launchFailed"}},
        std::pair{C::wentOnInChild, W{"wentOnInChild"}},
        std::pair{C::readerEndedLaunched, W{"readerEndedLaunched"}},
        std::pair{C::relaunched, W{"relaunched"}},
        std::pair{C::relaunchFailedToo, W{"relaunchFailedToo"}},
        std::pair{C::relaunchFailed, W{"relaunchFailed"}},
        std::pair{C::evidenceFolder, W{"evidenceFolder"}},
        std::pair{C::nothingRecorded, W{"nothingRecorded"}},
        std::pair{C::recordingUnread, W{"recordingUnread"}},
        std::pair{C::answerUnread, W{"answerUnread"}},
        std::pair{C::reportUnread, W{"reportUnread"}},
        std::pair{C::noReport, W{"noReport"}},
        std::pair{C::toolProblem, W{"toolProblem"}},
        std::pair{C::pipeFolderFailed, W{"pipeFolderFailed"}},
        std::pair{C::pipeFailed, W{"pipeFailed"}},
        std::pair{C::pipeOpenFailed, W{"pipeOpenFailed"}},
        std::pair{C::recordingUnfinished, W{"recordingUnfinished"}},
        std::pair{C::noRecordingWritten, W{"noRecordingWritten"}},
    };
};

template <> struct EnumTable<WhereCommandCode> {
    using C = WhereCommandCode;
    using W = std::string_view;
    static constexpr std::array entries{
        std::pair{C::allowAttach, W{"allowAttach"}},
        std::pair{C::trackUntilInterrupted, W{"trackUntilInterrupted"}},
        std::pair{C::restoreRule, W{"restoreRule"}},
        std::pair{C::trackAsAdmin, W{"trackAsAdmin"}},
        std::pair{C::installPackages, W{"installPackages"}},
        std::pair{C::installGdb, W{"installGdb"}},
    };
};

template <> struct EnumTable<SitePlaceCode> {
    static constexpr std::array entries{
        std::pair{SitePlaceCode::inSource, std::string_view{"inSource"}},
        std::pair{SitePlaceCode::inLibrary, std::string_view{"inLibrary"}},
        std::pair{SitePlaceCode::function, std::string_view{"function"}},
        std::pair{SitePlaceCode::unknown, std::string_view{"unknown"}},
    };
};

// One allocation site's line: where it is (the names as the program's symbols give them) and
// what it kept, in KiB, over how many calls.
struct WhereSiteCodes {
    OpenCode<SitePlaceCode> place;
    std::string function; // "leakyCacheInsert()"
    std::string file;     // "cache.cpp:5"
    std::string module;   // "libcache.so"
    double keptKiB = 0;
    int64_t calls = 0;

    bool operator==(const WhereSiteCodes&) const = default;
};

using WhereStatusCodes = ActionCoded<WhereStatusCode>;
using WhereNoteCodes = ActionCoded<WhereNoteCode>;
using WhereFailureCodes = ActionCoded<WhereFailureCode>;
using WhereCommandCodes = ActionCoded<WhereCommandCode>;

// The block's codes: its status (none for a failure, whose status is its sentences), its
// notes, one for one with the note lines, and its sites' lines; once tracking could not be done,
// the sentences of the reason, in order, and what each command offered instead does, one for
// one with the commands.
struct WhereCodes {
    std::optional<WhereStatusCodes> status = std::nullopt;
    std::vector<WhereNoteCodes> notes;
    std::vector<WhereSiteCodes> sites; // one for one with the sites
    std::vector<WhereFailureCodes> failure{};
    std::vector<WhereCommandCodes> commands{};

    bool operator==(const WhereCodes&) const = default;
};

ActionPattern wherePattern(WhereStatusCode code);
ActionPattern wherePattern(WhereNoteCode code);
ActionPattern wherePattern(WhereFailureCode code);
ActionPattern wherePattern(WhereCommandCode code);

WhereSiteCodes decodeRecord(const Json& json, std::type_identity<WhereSiteCodes>);
Json encodeRecord(const WhereSiteCodes& value);
WhereCodes decodeRecord(const Json& json, std::type_identity<WhereCodes>);
Json encodeRecord(const WhereCodes& value);

} // namespace velmora
