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

// The reasons name a process as "worker (PID 4242)" and keep the system's and the tools' own
// words, commands and paths as they are.
const std::vector<PatternEntry>& failures() {
    static const std::vector<PatternEntry> table{
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "No process with PID %1 is running."), {F::pid}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "Velmora does not track itself."), {}},
        //: %1 is a process: "worker (PID 4242)".
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "%1 belongs to another user; Velmora never "
                                                "attaches to another user's process."),
         {F::process}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "%1 runs with another user's or group's rights (setuid or "
                                "setgid); Velmora never attaches to it."),
         {F::process}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "%1 has disabled tracing of itself (it is not dumpable); Velmora "
                                "never attaches to it."),
         {F::process}},
        //: Keep the file name and its value as they are; heaptrack is the heap tracker's name.
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "The kernel lets a program attach only to its own children "
                                "(/proc/sys/kernel/yama/ptrace_scope is 1), so heaptrack cannot "
                                "attach to %1."),
         {F::process}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "The kernel lets only administrators attach to a process "
                                "(/proc/sys/kernel/yama/ptrace_scope is 2), so heaptrack cannot "
                                "attach to %1."),
         {F::process}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "The kernel lets no process attach to another until the next boot "
                                "(/proc/sys/kernel/yama/ptrace_scope is 3), so heaptrack cannot "
                                "attach to %1."),
         {F::process}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "The kernel refused to let heaptrack attach to %1: another "
                                "debugger may be attached to it, or a security policy forbids "
                                "it."),
         {F::process}},
        //: %1 is a Debian package ("heaptrack"), %2 the command that installs it.
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "Finding where memory grows needs %1, which is not installed. "
                                "Install the Debian package: %2"),
         {F::name, F::detail}},
        //: %1 and %2 are Debian packages ("heaptrack", "gdb"), %3 the command that installs
        //: them.
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "Finding where memory grows needs %1 and %2, which are not "
                                "installed. Install the Debian packages: %3"),
         {F::name, F::moreDetail, F::detail}},
        //: gdb and gdb-minimal are Debian packages; %1 is the command that installs gdb.
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "heaptrack is detached through gdb's Python, and this gdb has "
                                "none (gdb-minimal). Install the Debian package gdb: %1"),
         {F::detail}},
        //: %1 is the app tracked now.
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "Velmora is already tracking %1; stop that first "
                                                "or wait for it to finish."),
         {F::name}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "Velmora never tracks itself, its app or the "
                                                "desktop session's own processes."),
         {}},
        //: %2 is the program that holds the process id now.
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "The process Velmora judged (PID %1) has ended and its PID now "
                                "belongs to %2; Velmora did not attach to it."),
         {F::pid, F::name}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "%1 ended before heaptrack could attach to it."),
         {F::process}},
        //: heaptrack_env is a helper of heaptrack; %2 is what it said.
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "heaptrack_env could not say how to load heaptrack into %1: %2"),
         {F::process, F::detail}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "heaptrack could not attach to %1: its threads "
                                                "stayed inside the allocator."),
         {F::process}},
        //: gdb is the debugger heaptrack attaches through.
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "heaptrack could not attach to %1: gdb did not finish in time."),
         {F::process}},
        //: %2 is what gdb said.
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "heaptrack could not attach to %1: %2"),
         {F::process, F::detail}},
        //: %2 is the file it goes on recording into.
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "heaptrack could not be detached from %1 (gdb did not get "
                                "heaptrack stopped in time.); it goes on recording until the "
                                "process ends, into %2."),
         {F::process, F::path}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "heaptrack could not be detached from %1 (its threads stayed "
                                "inside the allocator.); it goes on recording until the process "
                                "ends, into %2."),
         {F::process, F::path}},
        //: %2 is what gdb said, %3 the file it goes on recording into.
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "heaptrack could not be detached from %1 (%2); it goes on "
                                "recording until the process ends, into %3."),
         {F::process, F::detail, F::path}},
        //: heaptrack's reader turns what the tracked process sends into the recording.
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "heaptrack's reader ended while tracking %1, so nothing usable "
                                "was recorded; heaptrack was stopped first and the process has "
                                "ended."),
         {F::process}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "heaptrack's reader ended while tracking %1, so nothing usable "
                                "was recorded; heaptrack was stopped first and the process goes "
                                "on."),
         {F::process}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "No program to start."), {}},
        //: %1 is a program's name; heaptrack's preload library is the part loaded into it.
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "heaptrack could not start %1: its preload library is missing."),
         {F::name}},
        //: %1 is a program's name, %2 what went wrong.
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "heaptrack could not start %1: %2"),
         {F::name, F::detail}},
        //: %1 is a program's name, %2 the process id it went on in, %3 the recording's file.
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "%1 went on in PID %2, which was left running; heaptrack records "
                                "it until it ends, into %3."),
         {F::name, F::pid, F::path}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "heaptrack's reader ended while tracking %1, so "
                                                "nothing usable was recorded."),
         {F::name}},
        //: Follows the reason a restarted program could not be tracked: %1 is the program,
        //: %2 its new process id.
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "%1 was started again without tracking as PID %2."),
         {F::name, F::pid}},
        //: Follows the reason a restarted program could not be tracked: %1 is the program,
        //: %2 what went wrong.
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "Then starting %1 again failed: %2"),
         {F::name, F::detail}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "The recording is kept, but starting %1 again failed: %2"),
         {F::name, F::detail}},
        //: %1 is a folder.
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "The evidence folder %1 could not be created."),
         {F::path}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "heaptrack recorded nothing."), {}},
        //: %1 is what went wrong reading the recording, %2 where it is kept.
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "%1 The recording is kept at %2."),
         {F::detail, F::path}},
        //: The tracker is the helper that tracks a process's heap; %1 is what went wrong.
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "The tracker's answer could not be read: %1"),
         {F::detail}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "The tracker's report could not be read: %1"),
         {F::detail}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "The tracker ended without a report."), {}},
        //: A problem of the heap tracker's own tools, shown as they put it; keep the marker
        //: alone.
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "%1"), {F::detail}},
        //: heaptrack's pipe carries what the tracked process sends; %1 is the system's error.
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "No folder for heaptrack's pipe could be made in /tmp: %1."),
         {F::detail}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "No pipe for heaptrack could be made: %1."),
         {F::detail}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "heaptrack's pipe could not be opened: %1."),
         {F::detail}},
        //: %1 is a number of seconds.
        {VELMORA_TRANSLATE_NOOP("WhereFailure",
                                "heaptrack did not finish writing the recording within %1 s."),
         {F::count}},
        {VELMORA_TRANSLATE_NOOP("WhereFailure", "heaptrack wrote no recording."), {}},
    };
    return table;
}

const std::vector<PatternEntry>& commands() {
    static const std::vector<PatternEntry> table{
        //: Under a command that relaxes the kernel's rule for attaching to a process.
        {VELMORA_TRANSLATE_NOOP("WhereCommands",
                                "Lets programs attach to any of your processes, until it is set "
                                "back."),
         {}},
        //: Under a command that tracks a process's heap; Ctrl-C is the key, heaptrack_print a
        //: program.
        {VELMORA_TRANSLATE_NOOP("WhereCommands", "Tracks it until you press Ctrl-C; read the "
                                                 "recording with heaptrack_print."),
         {}},
        //: Under a command that restores the kernel's rule for attaching to a process.
        {VELMORA_TRANSLATE_NOOP("WhereCommands", "Sets the kernel's rule back."), {}},
        {VELMORA_TRANSLATE_NOOP("WhereCommands",
                                "Tracks it with an administrator's rights until you press Ctrl-C; "
                                "read the recording with heaptrack_print."),
         {}},
        //: Under a command that installs Debian packages.
        {VELMORA_TRANSLATE_NOOP("WhereCommands", "Installs what heap tracking needs."), {}},
        {VELMORA_TRANSLATE_NOOP("WhereCommands", "Installs gdb with Python."), {}},
    };
    return table;
}

} // namespace

ActionPattern wherePattern(WhereFailureCode code) {
    return patternIn("WhereFailure", failures(), code);
}

ActionPattern wherePattern(WhereCommandCode code) {
    return patternIn("WhereCommands", commands(), code);
}

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
        .failure = in.defaulted<std::vector<WhereFailureCodes>>("failure",
                                                                std::vector<WhereFailureCodes>{}),
        .commands = in.defaulted<std::vector<WhereCommandCodes>>("commands",
                                                                 std::vector<WhereCommandCodes>{}),
    };
}

Json encodeRecord(const WhereCodes& value) {
    ObjectWriter out;
    out.field("status", value.status).field("notes", value.notes).field("sites", value.sites);
    // Sent only for a tracking that could not be done.
    if (!value.failure.empty()) {
        out.field("failure", value.failure);
    }
    if (!value.commands.empty()) {
        out.field("commands", value.commands);
    }
    return out.done();
}

} // namespace velmora
