// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/where/WhereCommand.h"

#include "base/Environment.h"
#include "model/JsonText.h"
#include "monitor/config/MonitorPaths.h"
#include "monitor/families/FamilyResolver.h"
#include "monitor/history/UtcStamp.h"
#include "monitor/live/LiveMonitor.h"
#include "monitor/where/HeapTracker.h"
#include "monitor/where/HeaptrackPrint.h"
#include "monitor/where/ProgramVersion.h"
#include "monitor/where/TraceAccess.h"
#include "monitor/where/WhereText.h"

#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <optional>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora {
namespace {

const StopRequest* stopOnSignal = nullptr;

void requestStop(int) {
    if (stopOnSignal != nullptr) {
        stopOnSignal->request();
    }
}

struct WhereOptions {
    pid_t pid = 0;
    uint64_t startTime = 0; // of the process judged, when known
    uint64_t recordingCap = HeapTracker::kDefaultRecordingCap;
    std::vector<std::string> launch; // the program and its arguments
    double seconds = 60;
    std::size_t top = 5;
    bool json = false;
    bool progress = false;
    std::string artifactsDir;
};

std::optional<double> numberIn(const std::string& text, double low, double high) {
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value) || value < low ||
        value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<uint64_t> wholeNumber(const std::string& text) {
    uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Reads the arguments after "where"; an error text when they make no sense.
std::optional<std::string> parse(const std::vector<std::string>& arguments, WhereOptions& into) {
    bool launch = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        bool hasValue = i + 1 < arguments.size();
        if (arg == "--") {
            into.launch.assign(arguments.begin() + static_cast<long>(i) + 1, arguments.end());
            break;
        }
        if (arg == "--json") {
            into.json = true;
        } else if (arg == "--progress") {
            into.json = into.progress = true;
        } else if (arg == "--launch") {
            launch = true;
        } else if (arg == "--seconds" && hasValue) {
            auto value = numberIn(arguments[++i], 1, 600);
            if (!value) {
                return "--seconds takes a number of seconds from 1 to 600.";
            }
            into.seconds = *value;
        } else if (arg == "--top" && hasValue) {
            auto value = numberIn(arguments[++i], 1, 50);
            if (!value || std::trunc(*value) != *value) {
                return "--top takes a whole number from 1 to 50.";
            }
            into.top = static_cast<std::size_t>(*value);
        } else if (arg == "--start-time" && hasValue) {
            auto value = wholeNumber(arguments[++i]);
            if (!value) {
                return "--start-time takes the process's start time from /proc/PID/stat.";
            }
            into.startTime = *value;
        } else if (arg == "--max-recording-bytes" && hasValue) {
            auto value = wholeNumber(arguments[++i]);
            if (!value || *value == 0) {
                return "--max-recording-bytes takes a number of bytes above 0.";
            }
            into.recordingCap = *value;
        } else if (arg == "--artifacts-dir" && hasValue) {
            into.artifactsDir = arguments[++i];
        } else if (!launch && into.pid == 0 && !arg.empty() && arg[0] != '-') {
            auto value = numberIn(arg, 1, 4194304);
            if (!value || std::trunc(*value) != *value) {
                return "\"" + arg + "\" is not a process ID.";
            }
            into.pid = static_cast<pid_t>(*value);
        } else {
            return "Unknown argument \"" + arg + "\".";
        }
    }
    if (launch && into.launch.empty()) {
        return "--launch needs the program after \"--\".";
    }
    if (!launch && (into.pid == 0 || !into.launch.empty())) {
        return "Name one process ID.";
    }
    return std::nullopt;
}

const char* phaseName(TrackingPhase phase) {
    switch (phase) {
    case TrackingPhase::attaching:
        return "attaching";
    case TrackingPhase::tracking:
        return "tracking";
    case TrackingPhase::stopping:
        return "stopping";
    case TrackingPhase::analysing:
        break;
    }
    return "analysing";
}

class Printer {
public:
    // `version`, when valid, is the tracked program's package version, said before the outcome.
    Printer(const WhereOptions& options, std::FILE* out, std::FILE* err,
            std::future<std::string> version = {})
        : options_(options), out_(out), err_(err), version_(std::move(version)) {}

    void phase(TrackingPhase phase, double seconds, const std::string& label) const {
        if (options_.progress) {
            Json line{{"phase", phaseName(phase)}};
            if (phase == TrackingPhase::tracking) {
                line["seconds"] = seconds;
                line["since"] = continuousSeconds();
            }
            std::fprintf(out_, "%s\n", dumpJsonText(line).c_str());
            std::fflush(out_);
            return;
        }
        switch (phase) {
        case TrackingPhase::attaching:
            std::fprintf(err_, "Starting heaptrack on %s...\n", label.c_str());
            break;
        case TrackingPhase::tracking:
            std::fprintf(err_, "Tracking for %d s (Ctrl-C stops early)...\n",
                         static_cast<int>(std::lround(seconds)));
            break;
        case TrackingPhase::stopping:
            std::fprintf(err_, "Stopping heaptrack...\n");
            break;
        case TrackingPhase::analysing:
            std::fprintf(err_, "Reading the recording...\n");
            break;
        }
    }

    int failure(const WhereFailure& failure) {
        sayVersion();
        if (options_.json) {
            std::fprintf(out_, "%s\n",
                         dumpJsonText(Json{{"error", encodeRecord(failure)}}).c_str());
        } else {
            std::fprintf(err_, "velmora where: %s\n", failure.message.c_str());
            if (!failure.commands.empty()) {
                std::fprintf(err_, "  What you can run yourself:\n");
            }
            for (const SuggestedCommand& command : failure.commands) {
                std::fprintf(err_, "    %s\n      %s\n", command.command.c_str(),
                             command.explanation.c_str());
            }
            if (failure.restartHelps) {
                std::fprintf(err_, "  Or start the program under tracking, which needs no "
                                   "attach: velmora where --launch -- PROGRAM ARGS...\n");
            }
        }
        std::fflush(out_);
        return 1;
    }

    int report(const WhereReport& report, const std::string& recordingDisplay) {
        sayVersion();
        if (options_.json) {
            std::fprintf(out_, "%s\n", dumpJsonText(encodeRecord(report)).c_str());
        } else {
            std::fprintf(out_, "%s", whereReportText(report, recordingDisplay).c_str());
        }
        std::fflush(out_);
        return 0;
    }

private:
    void sayVersion() {
        if (version_.valid()) {
            std::fprintf(out_, "%s\n",
                         dumpJsonText(Json{{"programVersion", version_.get()}}).c_str());
        }
    }

    const WhereOptions& options_;
    std::FILE* out_;
    std::FILE* err_;
    std::future<std::string> version_;
};

// The program file tracked: the process's executable, or the program to launch.
std::string programFileOf(const WhereOptions& options) {
    if (options.launch.empty()) {
        std::error_code error;
        auto exe =
            std::filesystem::read_symlink("/proc/" + std::to_string(options.pid) + "/exe", error);
        return error ? std::string() : exe.string();
    }
    const std::string& program = options.launch.front();
    const char* searchPath = std::getenv("PATH");
    return program.find('/') != std::string::npos
               ? program
               : findInPath(program, searchPath != nullptr ? searchPath : "");
}

std::string currentDirectory() {
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) != nullptr ? buffer : "/";
}

// Runs the tracking the options ask for, once the tools and rights are known to be there.
TrackingOutcome track(const WhereOptions& options, const HeapTracker& tracker,
                      const StopRequest& stop, const TrackingProgress& progress) {
    if (options.launch.empty()) {
        return tracker.attach(options.pid, options.startTime, options.seconds, stop, progress);
    }
    return tracker.launch(options.launch, childEnvironment({}), currentDirectory(), options.seconds,
                          stop, progress);
}

} // namespace

const char* whereUsage() {
    return "       velmora where PID [--start-time T] [--seconds N] [--top N] [--json]\n"
           "       velmora where --launch [--seconds N] [--top N] [--json] -- PROGRAM ARGS...\n";
}

namespace {

int where(const WhereOptions& options, Printer& printer) {
    MonitorPaths paths = MonitorPaths::fromEnvironment();
    std::string artifacts =
        options.artifactsDir.empty() ? paths.artifactsDir : options.artifactsDir;
    bool attach = options.launch.empty();
    HeapTools tools = HeapTools::find();
    if (auto missing = tools.missingPackages(attach); !missing.empty()) {
        return printer.failure(notInstalledFailure(missing));
    }
    if (attach && !gdbRunsPython(tools.gdb)) {
        const std::string install = "sudo apt install gdb";
        WhereFailure failure = trackingFailure("notInstalled", WhereFailureCode::gdbWithoutPython,
                                               {.detail = install});
        failure.commands = {suggestedCommand(install, WhereCommandCode::installGdb)};
        failure.restartHelps = true;
        return printer.failure(failure);
    }
    ProcRoot root("/proc");
    std::string program = attach ? std::string() : executableBaseName(options.launch.front());
    if (attach) {
        TraceFacts facts = readTraceFacts(root, options.pid);
        TraceAccess access = decideTraceAccess(facts, ::getuid(), ::getgid(), ::getpid());
        if (!access.allowed()) {
            return printer.failure(failureOf(access));
        }
        program = facts.name;
    }
    if (!makeDirectories(artifacts)) {
        return printer.failure(
            trackingFailure("failed", WhereFailureCode::evidenceFolder, {.path = artifacts}));
    }
    ::chmod(artifacts.c_str(), 0700);
    std::string name = attach ? std::to_string(options.pid) : "launch";
    std::string base =
        artifacts + "/where-" + name + "-" + utcStamp(static_cast<int64_t>(wallSeconds() * 1000));

    StopRequest stop;
    stopOnSignal = &stop;
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        std::signal(sig, requestStop);
    }
    const std::string label = attach ? processLabel(program, options.pid) : program;
    auto progress = [&](TrackingPhase phase, double seconds) {
        printer.phase(phase, seconds, label);
    };
    HeapTracker tracker(tools, root, base, options.recordingCap);
    TrackingOutcome outcome = track(options, tracker, stop, progress);
    if (outcome.recording.empty()) {
        return printer.failure(
            outcome.failure.value_or(trackingFailure("failed", WhereFailureCode::nothingRecorded)));
    }
    progress(TrackingPhase::analysing, 0);
    auto leaks = analyseRecording(tools, outcome.recording, 300);
    if (!leaks) {
        return printer.failure(trackingFailure(
            "failed", WhereFailureCode::recordingUnread,
            {.path = paths.display(outcome.recording), .detail = leaks.error().text()}));
    }
    struct stat recording {};
    ::stat(outcome.recording.c_str(), &recording);
    WhereReport report;
    report.pid = outcome.trackedPid;
    report.program = program;
    report.trackedSeconds = outcome.trackedSeconds;
    report.processEnded = outcome.processEnded;
    report.stoppedEarly = outcome.stoppedEarly;
    report.recording = outcome.recording;
    report.recordingBytes = static_cast<uint64_t>(recording.st_size);
    report.leakedBytes = leaks.value().leakedBytes;
    report.sites = growingSites(leaks.value(), options.top);
    report.relaunchedPid = outcome.relaunchedPid;
    report.note = outcome.failure ? outcome.failure->message : outcome.note;
    return printer.report(report, paths.display(outcome.recording));
}

} // namespace

int runWhereCommand(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err) {
    WhereOptions options;
    if (auto problem = parse(arguments, options)) {
        std::fprintf(err, "velmora where: %s\nUsage: velmora where PID [options]\n%s",
                     problem->c_str(), whereUsage());
        return 2;
    }
    std::signal(SIGPIPE, SIG_IGN);
    // heaptrack's helpers outlive its script, which is ended early: they become ours to reap.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0);
    // The package query runs beside the tracking (for the monitor, which reads it with the
    // outcome), never in the way of anything.
    std::future<std::string> version;
    if (options.progress) {
        version = std::async(std::launch::async, packageVersionOf, programFileOf(options));
    }
    Printer printer(options, out, err, std::move(version));
    int status = where(options, printer);
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    return status;
}

} // namespace velmora
