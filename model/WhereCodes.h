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

// The block's codes: its status (none where it is sent as text alone, as a failure is), its
// notes, one for one with the note lines, and its sites' lines.
struct WhereCodes {
    std::optional<WhereStatusCodes> status = std::nullopt;
    std::vector<WhereNoteCodes> notes;
    std::vector<WhereSiteCodes> sites; // one for one with the sites

    bool operator==(const WhereCodes&) const = default;
};

ActionPattern wherePattern(WhereStatusCode code);
ActionPattern wherePattern(WhereNoteCode code);

WhereSiteCodes decodeRecord(const Json& json, std::type_identity<WhereSiteCodes>);
Json encodeRecord(const WhereSiteCodes& value);
WhereCodes decodeRecord(const Json& json, std::type_identity<WhereCodes>);
Json encodeRecord(const WhereCodes& value);

} // namespace velmora
