// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/where/HeapTracker.h"

#include "base/Clocks.h"
#include "base/DescriptorIo.h"
#include "base/UniqueFd.h"
#include "monitor/common/DisplayText.h"
#include "monitor/common/ProcessLauncher.h"
#include "monitor/families/FamilyResolver.h"
#include "monitor/history/ByteText.h"
#include "monitor/proc/ProcParsers.h"
#include "monitor/where/SafeGdbCall.h"
#include "monitor/where/ToolProcess.h"
#include "monitor/where/TraceAccess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora {
namespace {

// Waits until one of the descriptors (-1: none) is readable or `seconds` have passed.
void waitReadable(int first, int second, double seconds) {
    pollfd fds[2] = {{first, POLLIN, 0}, {second, POLLIN, 0}};
    ::poll(fds, 2, static_cast<int>(std::max(0.0, seconds) * 1000) + 1);
}

std::optional<StatFields> statOf(const ProcRoot& root, pid_t pid) {
    char buf[2048];
    if (pid <= 0 || root.readPidFile(pid, "stat", buf, sizeof buf) <= 0) {
        return std::nullopt;
    }
    return parseStat(buf);
}

// A process by PID and start time, so a reused PID is never taken for it.
struct ProcessMark {
    pid_t pid = 0;
    uint64_t startTime = 0;
};

bool running(const ProcRoot& root, const ProcessMark& mark) {
    auto stat = statOf(root, mark.pid);
    return stat && stat->startTime == mark.startTime && stat->state != 'Z' && stat->state != 'X';
}

bool ended(const ProcRoot& root, pid_t pid) {
    auto stat = statOf(root, pid);
    return !stat || stat->state == 'Z' || stat->state == 'X';
}

std::vector<pid_t> childrenOf(const ProcRoot& root, pid_t pid) {
    std::vector<pid_t> children;
    std::string name = "task/" + std::to_string(pid) + "/children";
    if (auto text = root.readWholePidFile(pid, name.c_str(), 64 * 1024)) {
        const char* cursor = text->c_str();
        char* end = nullptr;
        for (long value; (value = std::strtol(cursor, &end, 10)), end != cursor; cursor = end) {
            children.push_back(static_cast<pid_t>(value));
        }
        return children;
    }
    ProcRoot scan(root.path()); // a kernel without the children file: look at every parent
    for (pid_t candidate : scan.listPids()) {
        if (auto stat = statOf(root, candidate); stat && stat->ppid == pid) {
            children.push_back(candidate);
        }
    }
    return children;
}

bool mapsMention(const ProcRoot& root, pid_t pid, const std::string& library) {
    auto maps = root.readWholePidFile(pid, "maps", 32 * 1024 * 1024);
    return maps && maps->find(library) != std::string::npos;
}

TrackingOutcome failed(std::string reason, WhereFailureCode code, ActionFigures figures = {}) {
    TrackingOutcome outcome;
    outcome.failure = trackingFailure(std::move(reason), code, std::move(figures));
    return outcome;
}

// `outcome` failed for the recorder's `problem`.
TrackingOutcome failedWith(const WhereFailureCodes& problem, TrackingOutcome outcome = {}) {
    outcome.failure = trackingFailure("failed", problem);
    return outcome;
}

// The PID no longer names the process that was judged: it ended and the PID was reused.
TrackingOutcome reusedPid(pid_t pid, const std::string& name) {
    return failed("pidReused", WhereFailureCode::pidReused,
                  {.name = displayText(name, 64), .pid = pid});
}

TrackingOutcome refusedBy(const TraceAccess& access) {
    TrackingOutcome outcome;
    outcome.failure = failureOf(access);
    return outcome;
}

// `environment` with heaptrack's preload library first in LD_PRELOAD, writing into `pipe`.
std::vector<std::string> preloadedEnvironment(std::vector<std::string> environment,
                                              const std::string& library, const std::string& pipe) {
    std::string preload = "LD_PRELOAD=" + library;
    for (const std::string& variable : environment) {
        if (variable.rfind("LD_PRELOAD=", 0) == 0 && variable.size() > 11) {
            preload.append(1, ':').append(variable, 11);
        }
    }
    std::erase_if(environment, [](const std::string& variable) {
        return variable.rfind("LD_PRELOAD=", 0) == 0 ||
               variable.rfind("DUMP_HEAPTRACK_OUTPUT=", 0) == 0;
    });
    environment.push_back(std::move(preload));
    environment.push_back("DUMP_HEAPTRACK_OUTPUT=" + pipe);
    return environment;
}

// Why heaptrack could not be stopped: the reason's code and what gdb said.
struct StopProblem {
    WhereFailureCode code;
    std::string said;
};

// heaptrack's own stop call, from a safe thread; tried again for a while when every thread is
// busy. The problem, or none when it stopped (or the process is gone).
std::optional<StopProblem> stopHeaptrack(const std::string& gdb, const ProcessMark& target,
                                         const ProcRoot& root) {
    for (int attempt = 0; attempt < 10 && running(root, target); ++attempt) {
        GdbCall call =
            callFromSafeThread(gdb, target.pid, {"libc.so", "libheaptrack_inject"},
                               {"call (void) heaptrack_stop()"}, HeapTracker::kFinishSeconds / 3);
        switch (call.result) {
        case GdbCallResult::done:
            return std::nullopt;
        case GdbCallResult::busy:
            ::poll(nullptr, 0, 50);
            continue;
        case GdbCallResult::timedOut:
            return StopProblem{WhereFailureCode::detachTimedOut, {}};
        case GdbCallResult::refused:
        case GdbCallResult::failed:
            break;
        }
        std::string said = lastLine(call.output);
        if (!running(root, target) || said.empty()) {
            return std::nullopt;
        }
        return StopProblem{WhereFailureCode::detachFailed, std::move(said)};
    }
    if (!running(root, target)) {
        return std::nullopt;
    }
    return StopProblem{WhereFailureCode::detachBusy, {}};
}

} // namespace

StopRequest::StopRequest() {
    if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) {
        fds_[0] = fds_[1] = -1;
    }
}

StopRequest::~StopRequest() {
    for (int fd : fds_) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

void StopRequest::request() const {
    char byte = 1;
    (void)!::write(fds_[1], &byte, 1);
}

bool StopRequest::requested() const {
    pollfd ready{fds_[0], POLLIN, 0};
    return ::poll(&ready, 1, 0) > 0;
}

HeapTracker::HeapTracker(HeapTools tools, const ProcRoot& root, std::string recordingBase,
                         uint64_t recordingCapBytes)
    : tools_(std::move(tools)), root_(root), recordingBase_(std::move(recordingBase)),
      recordingCap_(recordingCapBytes) {}

HeapTracker::Ending HeapTracker::watch(const std::function<bool()>& alive,
                                       const HeaptrackRecorder& recorder, double seconds,
                                       const StopRequest& stop, TrackingOutcome& outcome) const {
    const double started = steadySeconds();
    const double deadline = started + seconds;
    Ending ending = Ending::time;
    for (;;) {
        if (!alive()) {
            ending = Ending::processEnded;
            break;
        }
        if (stop.requested()) {
            ending = Ending::stopped;
            break;
        }
        if (recorder.readerEnded()) {
            ending = Ending::readerEnded;
            break;
        }
        if (recorder.recordedBytes() >= recordingCap_) {
            ending = Ending::capped;
            break;
        }
        double left = deadline - steadySeconds();
        if (left <= 0) {
            break;
        }
        waitReadable(stop.fd(), -1, std::min(left, 0.25));
    }
    outcome.trackedSeconds = steadySeconds() - started;
    outcome.processEnded = ending == Ending::processEnded;
    outcome.stoppedEarly = ending == Ending::stopped || ending == Ending::capped;
    if (ending == Ending::capped) {
        outcome.note = "Tracking stopped when the recording reached its cap of " +
                       byteSizeText(recordingCap_) + ".";
    }
    return ending;
}

TrackingOutcome HeapTracker::attach(pid_t pid, uint64_t startTime, double seconds,
                                    const StopRequest& stop,
                                    const TrackingProgress& progress) const {
    auto stat = statOf(root_, pid);
    if (!stat) {
        return failed("noProcess", WhereFailureCode::noProcess, {.pid = pid});
    }
    if (startTime != 0 && stat->startTime != startTime) {
        return reusedPid(pid, stat->comm);
    }
    const ProcessMark target{pid, stat->startTime};
    const ActionFigures process = processFigures(stat->comm, pid);
    progress(TrackingPhase::attaching, 0);
    // What `heaptrack -p` does, with its own parts: its reader on a pipe, the pipe's far end
    // loaded into the process through gdb. Here gdb loads it from a safe thread, not from
    // whichever thread it stopped first (inside malloc, the load corrupts or deadlocks the
    // allocator), and nothing of heaptrack's script runs its own ending (a second attach,
    // heaptrack_gui).
    ToolRun how =
        runTool(tools_.environmentChecker, {"heaptrack_env", "dlopen", tools_.injectLibrary}, 10);
    std::string dlopenCall = how.output.substr(0, how.output.find('\n'));
    if (!exitedCleanly(how.status) || dlopenCall.empty()) {
        ActionFigures figures = process;
        figures.detail = lastLine(how.output);
        return failed("failed", WhereFailureCode::loaderUnknown, std::move(figures));
    }
    HeaptrackRecorder recorder(tools_, recordingBase_);
    if (auto problem = recorder.start()) {
        return failedWith(*problem);
    }
    // Checked again right before attaching: the PID may have been reused meanwhile.
    if (!running(root_, target)) {
        auto now = statOf(root_, pid);
        return now && now->state != 'Z'
                   ? reusedPid(pid, now->comm)
                   : failed("noProcess", WhereFailureCode::endedBeforeAttach, process);
    }
    GdbCall injected =
        callFromSafeThread(tools_.gdb, pid, {"libc.so"},
                           {"call (void) " + dlopenCall, "sharedlibrary libheaptrack_inject",
                            "call (void) heaptrack_inject(\"" + recorder.pipe() + "\")"},
                           kAttachSeconds);
    if (injected.result != GdbCallResult::done || !mapsMention(root_, pid, "libheaptrack_inject")) {
        if (injected.result == GdbCallResult::refused) {
            return refusedBy(attachRefused(pid, stat->comm));
        }
        if (injected.result == GdbCallResult::busy) {
            return failed("failed", WhereFailureCode::attachBusy, process);
        }
        if (injected.result == GdbCallResult::timedOut) {
            return failed("failed", WhereFailureCode::attachTimedOut, process);
        }
        ActionFigures figures = process;
        figures.detail = lastLine(injected.output);
        return failed("failed", WhereFailureCode::attachFailed, std::move(figures));
    }
    progress(TrackingPhase::tracking, seconds);
    TrackingOutcome outcome;
    outcome.trackedPid = pid;
    Ending ending = watch([&] { return running(root_, target); }, recorder, seconds, stop, outcome);
    if (ending == Ending::readerEnded) {
        recorder.drain(); // until heaptrack in the process has stopped writing
    }
    if (!outcome.processEnded) {
        progress(TrackingPhase::stopping, 0);
        auto problem = stopHeaptrack(tools_.gdb, target, root_);
        if (!running(root_, target)) {
            outcome.processEnded = true;
        } else if (problem) {
            // The process still writes into the pipe: it must go on being read, or writing
            // would end the process with SIGPIPE.
            recorder.leaveRunning();
            ActionFigures figures = process;
            figures.path = recorder.recording();
            if (!problem->said.empty()) {
                figures.detail = problem->said;
            }
            outcome.failure = trackingFailure("failed", problem->code, std::move(figures));
            return outcome;
        }
    }
    if (ending == Ending::readerEnded) {
        outcome.failure =
            trackingFailure("failed",
                            outcome.processEnded ? WhereFailureCode::readerEndedProcessEnded
                                                 : WhereFailureCode::readerEndedProcessRuns,
                            process);
        return outcome;
    }
    if (auto problem = recorder.finish(kFinishSeconds)) {
        return failedWith(*problem, std::move(outcome));
    }
    outcome.recording = recorder.recording();
    return outcome;
}

TrackingOutcome HeapTracker::launch(const std::vector<std::string>& command,
                                    const std::vector<std::string>& environment,
                                    const std::string& directory, double seconds,
                                    const StopRequest& stop,
                                    const TrackingProgress& progress) const {
    if (command.empty()) {
        return failed("failed", WhereFailureCode::noProgram);
    }
    const std::string program = executableBaseName(command.front());
    TrackingOutcome outcome =
        launchTracked(command, environment, directory, seconds, stop, progress);
    if (outcome.processEnded) {
        return outcome; // closed during tracking or went on in a child: not started again
    }
    // Whatever became of the tracking, the program is started again, as a restart starts it:
    // detached, in its own session.
    LaunchResult relaunched = launchDetached(command.front(), command, environment, directory);
    if (relaunched.ok) {
        outcome.relaunchedPid = relaunched.pid;
        if (outcome.failure) {
            addSentence(*outcome.failure, WhereFailureCode::relaunched,
                        {.name = program, .pid = relaunched.pid});
        }
    } else {
        ActionFigures again{.name = program, .detail = relaunched.error};
        if (outcome.failure) {
            addSentence(*outcome.failure, WhereFailureCode::relaunchFailedToo, std::move(again));
        } else {
            outcome.failure =
                trackingFailure("failed", WhereFailureCode::relaunchFailed, std::move(again));
        }
    }
    return outcome;
}

TrackingOutcome HeapTracker::launchTracked(const std::vector<std::string>& command,
                                           const std::vector<std::string>& environment,
                                           const std::string& directory, double seconds,
                                           const StopRequest& stop,
                                           const TrackingProgress& progress) const {
    const std::string program = executableBaseName(command.front());
    std::string exe = command.front();
    if (exe.find('/') == std::string::npos) {
        exe = findInPath(exe, ::getenv("PATH") != nullptr ? ::getenv("PATH") : "");
    }
    progress(TrackingPhase::attaching, 0);
    HeaptrackRecorder recorder(tools_, recordingBase_);
    if (tools_.preloadLibrary.empty()) {
        return failed("failed", WhereFailureCode::preloadMissing, {.name = program});
    }
    if (auto problem = recorder.start()) {
        // What went wrong starting it is the recorder's reason, in the monitor's words.
        return failed("failed", WhereFailureCode::launchFailed,
                      {.name = program, .detail = trackingFailure("failed", *problem).message});
    }
    std::string error;
    // What `heaptrack PROGRAM` does: the program starts with heaptrack preloaded, writing into
    // the pipe. It is our child, so however it starts, forks or execs, it is the one tracked.
    ToolOptions options;
    options.environment = preloadedEnvironment(offlineEnvironment(environment),
                                               tools_.preloadLibrary, recorder.pipe());
    options.workingDirectory = directory;
    options.discardOutput = true;
    auto tracked = ToolProcess::start(exe.empty() ? command.front() : exe, command, options, error);
    if (!tracked) {
        return failed("failed", WhereFailureCode::launchFailed, {.name = program, .detail = error});
    }
    progress(TrackingPhase::tracking, seconds);
    TrackingOutcome outcome;
    outcome.trackedPid = tracked->pid();
    Ending ending = watch([&] { return !tracked->exited(); }, recorder, seconds, stop, outcome);
    if (ending == Ending::processEnded) {
        tracked->letGo();
        outcome.continuedPid = survivorOf(recorder);
        if (outcome.continuedPid > 0) {
            // It went on in a child that heaptrack may still be recording: that is read until
            // it ends, and left running.
            recorder.leaveRunning();
            outcome.failure = trackingFailure(
                "failed", WhereFailureCode::wentOnInChild,
                {.name = program, .pid = outcome.continuedPid, .path = recorder.recording()});
            return outcome;
        }
    } else {
        if (ending == Ending::readerEnded) {
            recorder.drain();
        }
        // The preload finishes the recording when the program ends: ask it to quit, and end it
        // after half a minute. It is the copy started here, under the restart the person agreed
        // to.
        progress(TrackingPhase::stopping, 0);
        ::kill(tracked->pid(), SIGTERM);
        std::string ignored;
        if (!tracked->waitFor(kFinishSeconds / 2, ignored)) {
            tracked->signalGroup(SIGKILL);
            tracked->waitFor(5, ignored);
        }
    }
    if (ending == Ending::readerEnded) {
        outcome.failure =
            trackingFailure("failed", WhereFailureCode::readerEndedLaunched, {.name = program});
        return outcome;
    }
    if (auto problem = recorder.finish(kFinishSeconds)) {
        return failedWith(*problem, std::move(outcome));
    }
    outcome.recording = recorder.recording();
    return outcome;
}

// A process the tracked program left running when it ended (it forked and exited): orphans
// become ours, since `velmora where` reaps them.
pid_t HeapTracker::survivorOf(const HeaptrackRecorder& recorder) const {
    for (pid_t child : childrenOf(root_, ::getpid())) {
        if (!recorder.owns(child) && !ended(root_, child)) {
            return child;
        }
    }
    return 0;
}

} // namespace velmora
