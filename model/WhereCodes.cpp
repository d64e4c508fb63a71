// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/WhereCodes.h"

#include "base/Translate.h"
#include "model/Codec.h"
#include "model/PatternTable.h"

namespace velmora {
namespace {

using F = ActionFigure;

const std::vector<PatternEntry>& statuses() {
    static const std::vector<PatternEntry> table{
        //: %1 is a process: "worker (PID 4242)".
        {VELMORA_TRANSLATE_NOOP("WhereStatus", "Attaching heaptrack to %1..."), {F::process}},
        //: %1 is the app's name; heaptrack is the heap tracker's name.
        {VELMORA_TRANSLATE_NOOP("WhereStatus", "Starting %1 again under heaptrack..."), {F::name}},
        //: %1 is a process, %2 what remains: "45 s left".
        {VELMORA_TRANSLATE_NOOP("WhereStatus", "Tracking %1 · %2"), {F::process, F::countdown}},
        {VELMORA_TRANSLATE_NOOP("WhereStatus", "Detaching heaptrack from %1..."), {F::process}},
        //: %1 is the app's name.
        {VELMORA_TRANSLATE_NOOP("WhereStatus", "Asking %1 to quit to finish the recording..."),
         {F::name}},
        {VELMORA_TRANSLATE_NOOP("WhereStatus", "Reading the recording of %1..."), {F::process}},
        //: %1 is a process, %2 how long it was tracked ("60 s"), %3 a size ("19.2 MB").
        {VELMORA_TRANSLATE_NOOP("WhereStatus",
                                "Tracked %1 for %2; %3 allocated meanwhile was not freed."),
         {F::process, F::span, F::size}},
        {VELMORA_TRANSLATE_NOOP(
             "WhereStatus",
             "Tracked %1 for %2 until it ended; %3 allocated meanwhile was not freed."),
         {F::process, F::span, F::size}},
        {VELMORA_TRANSLATE_NOOP(
             "WhereStatus",
             "Tracked %1 for %2, stopped early; %3 allocated meanwhile was not freed."),
         {F::process, F::span, F::size}},
    };
    return table;
}

const std::vector<PatternEntry>& notes() {
    static const std::vector<PatternEntry> table{
        {VELMORA_TRANSLATE_NOOP("WhereNotes",
                                "The process keeps running, a little slower, while heaptrack "
                                "records its allocations; stopping early keeps what was "
                                "recorded."),
         {}},
        {VELMORA_TRANSLATE_NOOP("WhereNotes",
                                "Stopping ends tracking early: Velmora asks the tracked copy to "
                                "quit and starts it again without tracking."),
         {}},
        //: %1 is a process: "worker (PID 4242)". The sites are the places in its code that
        //: kept memory.
        {VELMORA_TRANSLATE_NOOP(
             "WhereNotes", "%1 ended during tracking; the sites are what was recorded until then."),
         {F::process}},
        {VELMORA_TRANSLATE_NOOP("WhereNotes",
                                "Stopped early; the sites are what was recorded until then."),
         {}},
        //: %1 is the app's name, %2 its new process id.
        {VELMORA_TRANSLATE_NOOP("WhereNotes", "%1 was started again without tracking as PID %2."),
         {F::name, F::pid}},
        //: The heap tracker's own note, shown as it came; keep the marker alone.
        {VELMORA_TRANSLATE_NOOP("WhereNotes", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("WhereNotes",
                                "No allocation site kept memory while it was tracked: it did not "
                                "grow on the heap meanwhile."),
         {}},
        //: %1 is where the heap tracker's recording is kept.
        {VELMORA_TRANSLATE_NOOP("WhereNotes", "Recording: %1, kept with the evidence."), {F::path}},
        //: %1 is the app's name.
        {VELMORA_TRANSLATE_NOOP("WhereNotes",
                                "Restarting %1 under heaptrack needs no attach: Velmora quits "
                                "it, tracks the new one, then starts it once more without "
                                "tracking."),
         {F::name}},
    };
    return table;
}

} // namespace

ActionPattern wherePattern(WhereStatusCode code) {
    return patternIn("WhereStatus", statuses(), code);
}

ActionPattern wherePattern(WhereNoteCode code) {
    return patternIn("WhereNotes", notes(), code);
}

WhereSiteCodes decodeRecord(const Json& json, std::type_identity<WhereSiteCodes>) {
    const ObjectReader in(json);
    return {
        .place = in.required<OpenCode<SitePlaceCode>>("place"),
        .function = in.defaulted<std::string>("function", std::string()),
        .file = in.defaulted<std::string>("file", std::string()),
        .module = in.defaulted<std::string>("module", std::string()),
        .keptKiB = in.required<double>("keptKiB"),
        .calls = in.required<int64_t>("calls"),
    };
}

Json encodeRecord(const WhereSiteCodes& value) {
    return ObjectWriter()
        .field("place", value.place)
        .field("function", value.function)
        .field("file", value.file)
        .field("module", value.module)
        .field("keptKiB", value.keptKiB)
        .field("calls", value.calls)
        .done();
}

WhereCodes decodeRecord(const Json& json, std::type_identity<WhereCodes>) {
    const ObjectReader in(json);
    return {
        .status = in.optional<WhereStatusCodes>("status"),
        .notes = in.defaulted<std::vector<WhereNoteCodes>>("notes", std::vector<WhereNoteCodes>{}),
        .sites = in.defaulted<std::vector<WhereSiteCodes>>("sites", std::vector<WhereSiteCodes>{}),
    };
}

Json encodeRecord(const WhereCodes& value) {
    return ObjectWriter()
        .field("status", value.status)
        .field("notes", value.notes)
        .field("sites", value.sites)
        .done();
}

} // namespace velmora
