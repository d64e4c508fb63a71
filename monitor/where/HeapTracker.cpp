#include "monitor/where/HeapTracker.h"

#include "base/Clocks.h"
#include "base/DescriptorIo.h"
#include "base/UniqueFd.h"
#include "monitor/common/ProcessLauncher.h"
#include "monitor/families/FamilyResolver.h"
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

// The children of heaptrack's script: its interpreter, the compressor writing the recording
// and, when it started a program, that program (the child running `programExe`).
struct ScriptChildren {
    pid_t interpreter = 0;
    pid_t compressor = 0;
    pid_t program = 0;
};

ScriptChildren scriptChildren(const ProcRoot& root, pid_t script,
                              const std::string& programExe = {}) {
    ScriptChildren found;
    for (pid_t child : childrenOf(root, script)) {
        auto exe = root.readLink(child, "exe");
        if (!exe) {
            continue;
        }
        std::string name = executableBaseName(*exe);
        if (name == "zstd" || name == "gzip") {
            found.compressor = child;
        } else if (name == "heaptrack_interpret") {
            found.interpreter = child;
        } else if (!programExe.empty() && *exe == programExe) {
            found.program = child;
        }
    }
    return found;
}

bool mapsMention(const ProcRoot& root, pid_t pid, const std::string& library) {
    auto maps = root.readWholePidFile(pid, "maps", 32 * 1024 * 1024);
    return maps && maps->find(library) != std::string::npos;
}

// The first 256 KiB of a file: all heaptrack's script says comes before what a program it
// started writes. Nothing when it cannot be read.
std::optional<std::string> readLogStart(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        return std::nullopt;
    }
    std::string text;
    readToEnd(fd.get(), text, 256 * 1024); // what came before a failed read still counts
    return text;
}

// heaptrack's script says where the recording goes: `output will be written to "PATH"`.
std::string recordingPathIn(const std::string& output) {
    const std::string marker = "heaptrack output will be written to \"";
    std::size_t at = output.find(marker);
    if (at == std::string::npos) {
        return {};
    }
    std::size_t start = at + marker.size();
    std::size_t end = output.find('"', start);
    return end == std::string::npos ? std::string() : output.substr(start, end - start);
}

uint64_t fileSize(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)
               ? static_cast<uint64_t>(info.st_size)
               : 0;
}

// A path heaptrack's script passes through the shell unquoted: nothing it would split or
// expand.
bool shellSafe(const std::string& path) {
    return !path.empty() && path.find_first_of(" \t\n*?[]%$`\\\"'&;|<>(){}~") == std::string::npos;
}

// Drives one run of heaptrack's script. Its output (and a started program's) goes to a log file
// beside the recording, never to a pipe of ours that would break when we go. The script is
// stopped (SIGSTOP) once tracking runs, so that it never reaches its own ending, which would
// attach gdb a second time and open heaptrack_gui; the recording is complete once its
// compressor has ended, and then the script is ended and its pipe removed, as its ending would
// have done.
class ScriptRun {
public:
    ScriptRun(const ProcRoot& root, std::string log, std::unique_ptr<ToolProcess> tool)
        : root_(root), log_(std::move(log)), tool_(std::move(tool)) {}
    // Ends the script and its helpers. A program it started is left alone: by then it has
    // ended, and whatever it started itself is not ours to end. While heaptrack may still be
    // writing into the process's pipe (it could not be stopped), its helpers go on reading and
    // the recording stays: ending them would end the process with SIGPIPE.
    ~ScriptRun() {
        const bool stillRecording = frozen_ && !recordingFinished();
        if (!frozen_) {
            tool_->signalGroup(SIGKILL);
        }
        ::kill(tool_->pid(), SIGKILL);
        for (pid_t pid : {children_.interpreter, children_.compressor}) {
            if (pid > 0 && !stillRecording && !ended(root_, pid)) {
                ::kill(pid, SIGKILL);
            }
        }
        std::string ignored;
        tool_->waitFor(5, ignored);
        // They are ours once the script is gone when we reap orphans (`velmora where` does).
        for (pid_t pid : {children_.interpreter, children_.compressor, children_.program}) {
            if (pid > 0 && ended(root_, pid)) {
                ::waitpid(pid, nullptr, WNOHANG);
            }
        }
        if (stillRecording) {
            return;
        }
        ::unlink(log_.c_str());
        ::unlink(("/tmp/heaptrack_fifo" + std::to_string(tool_->pid())).c_str());
        if (!keepRecording_ && !recordingPath().empty()) {
            ::unlink(recordingPath().c_str()); // nothing, or not all, was recorded
        }
    }

    ToolProcess& tool() { return *tool_; }
    std::string& output() { return output_; }
    void read() {
        if (auto text = readLogStart(log_)) {
            output_ = std::move(*text);
        }
    }
    bool scriptEnded() { return tool_->exited().has_value(); }
    // Waits up to `seconds` (in short steps, for the log) or until `other` is readable.
    void wait(int other, double seconds) {
        waitReadable(other, -1, std::min(seconds, 0.05));
        read();
    }
    void freeze(const std::string& programExe = {}) {
        children_ = scriptChildren(root_, tool_->pid(), programExe);
        ::kill(tool_->pid(), SIGSTOP);
        frozen_ = true;
    }
    const ScriptChildren& children() const { return children_; }
    bool recordingFinished() const {
        return children_.compressor == 0 || ended(root_, children_.compressor);
    }
    // Waits up to `seconds` for the compressor to finish the recording.
    bool waitForRecording(double seconds) {
        double deadline = steadySeconds() + seconds;
        while (!recordingFinished()) {
            if (steadySeconds() >= deadline) {
                return false;
            }
            wait(-1, 0.05);
        }
        return true;
    }
    std::string recordingPath() const { return recordingPathIn(output_); }
    void keepRecording() { keepRecording_ = true; }

private:
    const ProcRoot& root_;
    std::string log_;
    std::unique_ptr<ToolProcess> tool_;
    std::string output_;
    ScriptChildren children_;
    bool frozen_ = false;
    bool keepRecording_ = false;
};

TrackingOutcome failed(std::string reason, std::string message) {
    TrackingOutcome outcome;
    outcome.failure = trackingFailure(std::move(reason), std::move(message));
    return outcome;
}

TrackingOutcome refusedBy(const TraceAccess& access) {
    TrackingOutcome outcome;
    outcome.failure = failureOf(access);
    return outcome;
}

// Fills in the recording once the compressor has finished, or says why there is none.
void finishRecording(ScriptRun& run, TrackingOutcome& outcome) {
    if (!run.waitForRecording(HeapTracker::kFinishSeconds)) {
        outcome.failure = trackingFailure(
            "failed", "heaptrack did not finish writing the recording within " +
                          std::to_string(static_cast<int>(HeapTracker::kFinishSeconds)) + " s.");
        return;
    }
    std::string path = run.recordingPath();
    if (fileSize(path) == 0) {
        outcome.failure = trackingFailure(
            "failed", "heaptrack wrote no recording" +
                          (run.output().empty() ? "." : ": " + lastLine(run.output())));
        return;
    }
    outcome.recording = path;
    run.keepRecording();
}

// heaptrack's own stop call, from a safe thread; tried again for a while when every thread is
// busy. The problem, or empty when it stopped (or the process is gone).
std::string stopHeaptrack(const std::string& gdb, const ProcessMark& target, const ProcRoot& root) {
    for (int attempt = 0; attempt < 10 && running(root, target); ++attempt) {
        GdbCall call =
            callFromSafeThread(gdb, target.pid, {"libc.so", "libheaptrack_inject"},
                               {"call (void) heaptrack_stop()"}, HeapTracker::kFinishSeconds / 3);
        switch (call.result) {
        case GdbCallResult::done:
            return {};
        case GdbCallResult::busy:
            ::poll(nullptr, 0, 50);
            continue;
        case GdbCallResult::timedOut:
            return "gdb did not get heaptrack stopped in time.";
        case GdbCallResult::refused:
        case GdbCallResult::failed:
            break;
        }
        return running(root, target) ? lastLine(call.output) : std::string();
    }
    return running(root, target) ? "its threads stayed inside the allocator." : std::string();
}

// A private folder for the pipe between a tracked process and heaptrack's reader.
class PipeFolder {
public:
    PipeFolder() {
        char pattern[] = "/tmp/velmora-heaptrack-XXXXXX";
        if (::mkdtemp(pattern) != nullptr) {
            folder_ = pattern;
            if (::mkfifo(pipe().c_str(), 0600) != 0) {
                folder_.clear();
            }
        }
    }
    // Removed unless still in use by a process that could not be detached.
    ~PipeFolder() {
        if (!folder_.empty() && !keep_) {
            ::unlink(pipe().c_str());
            ::rmdir(folder_.c_str());
        }
    }
    bool ok() const { return !folder_.empty(); }
    std::string pipe() const { return folder_ + "/pipe"; }
    void keep() { keep_ = true; }

private:
    std::string folder_;
    bool keep_ = false;
};

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

HeapTracker::HeapTracker(HeapTools tools, const ProcRoot& root, std::string recordingBase)
    : tools_(std::move(tools)), root_(root), recordingBase_(std::move(recordingBase)) {}

TrackingOutcome HeapTracker::attach(pid_t pid, double seconds, const StopRequest& stop,
                                    const TrackingProgress& progress) const {
    auto stat = statOf(root_, pid);
    if (!stat) {
        return failed("noProcess", "No process with PID " + std::to_string(pid) + " is running.");
    }
    const ProcessMark target{pid, stat->startTime};
    const std::string label = processLabel(stat->comm, pid);
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
        return failed("failed", "heaptrack_env could not say how to load heaptrack into " + label +
                                    ": " + lastLine(how.output));
    }
    PipeFolder pipe;
    if (!pipe.ok()) {
        return failed("failed", "No pipe for heaptrack could be made in /tmp.");
    }
    const bool zstd = executableBaseName(tools_.compressor) == "zstd";
    const std::string recording = recordingBase_ + (zstd ? ".zst" : ".gz");
    ToolOptions options;
    options.outputFile = recordingBase_ + ".log";
    std::string error;
    auto reader =
        ToolProcess::start("/bin/sh",
                           {"sh", "-c", "\"$1\" < \"$2\" | \"$3\" -c > \"$4\"", "sh",
                            tools_.interpreter, pipe.pipe(), tools_.compressor, recording},
                           options, error);
    if (!reader) {
        return failed("failed", error);
    }
    // Until the process opens the pipe the reader waits for it; ended with its group below.
    auto discard = [&] {
        ::unlink(recording.c_str());
        ::unlink(options.outputFile.c_str());
    };
    GdbCall injected =
        callFromSafeThread(tools_.gdb, pid, {"libc.so"},
                           {"call (void) " + dlopenCall, "sharedlibrary libheaptrack_inject",
                            "call (void) heaptrack_inject(\"" + pipe.pipe() + "\")"},
                           kAttachSeconds);
    if (injected.result != GdbCallResult::done || !mapsMention(root_, pid, "libheaptrack_inject")) {
        reader->signalGroup(SIGKILL);
        reader.reset();
        discard();
        if (injected.result == GdbCallResult::refused) {
            return refusedBy(attachRefused(pid, stat->comm));
        }
        return failed("failed", "heaptrack could not attach to " + label + ": " +
                                    (injected.result == GdbCallResult::busy
                                         ? std::string("its threads stayed inside the allocator.")
                                     : injected.result == GdbCallResult::timedOut
                                         ? std::string("gdb did not finish in time.")
                                         : lastLine(injected.output)));
    }
    progress(TrackingPhase::tracking, seconds);
    TrackingOutcome outcome;
    outcome.trackedPid = pid;
    double started = steadySeconds();
    double deadline = started + seconds;
    for (;;) {
        if (!running(root_, target)) {
            outcome.processEnded = true;
            break;
        }
        if (stop.requested()) {
            outcome.stoppedEarly = true;
            break;
        }
        if (reader->exited()) {
            discard();
            return failed("failed", "heaptrack stopped on its own while tracking " + label + ".");
        }
        double left = deadline - steadySeconds();
        if (left <= 0) {
            break;
        }
        waitReadable(stop.fd(), -1, std::min(left, 0.25));
    }
    outcome.trackedSeconds = steadySeconds() - started;
    if (!outcome.processEnded) {
        progress(TrackingPhase::stopping, 0);
        std::string problem = stopHeaptrack(tools_.gdb, target, root_);
        if (!running(root_, target)) {
            outcome.processEnded = true;
        } else if (!problem.empty()) {
            // The process still writes into the pipe: its reader must go on, or it would end
            // the process with SIGPIPE.
            reader->letGo();
            pipe.keep();
            outcome.failure = trackingFailure(
                "failed", "heaptrack could not be detached from " + label + " (" + problem +
                              "); it goes on recording until the process ends, into " + recording +
                              ".");
            return outcome;
        }
    }
    std::string log;
    if (!reader->waitFor(kFinishSeconds, log)) {
        reader->signalGroup(SIGKILL);
        discard();
        outcome.failure =
            trackingFailure("failed", "heaptrack did not finish writing the recording within " +
                                          std::to_string(static_cast<int>(kFinishSeconds)) + " s.");
        return outcome;
    }
    ::unlink(options.outputFile.c_str());
    if (fileSize(recording) == 0) {
        discard();
        outcome.failure = trackingFailure("failed", "heaptrack wrote no recording.");
        return outcome;
    }
    outcome.recording = recording;
    return outcome;
}

TrackingOutcome HeapTracker::launch(const std::vector<std::string>& command,
                                    const std::vector<std::string>& environment,
                                    const std::string& directory, double seconds,
                                    const StopRequest& stop,
                                    const TrackingProgress& progress) const {
    if (command.empty()) {
        return failed("failed", "No program to start.");
    }
    if (!shellSafe(recordingBase_)) {
        return failed("failed", "heaptrack cannot write its recording to " + recordingBase_ +
                                    ": the path holds spaces or shell characters.");
    }
    const std::string program = executableBaseName(command.front());
    std::string exe = command.front();
    if (exe.find('/') == std::string::npos) {
        exe = findInPath(exe, ::getenv("PATH") != nullptr ? ::getenv("PATH") : "");
    }
    std::error_code ignored;
    exe = std::filesystem::weakly_canonical(exe, ignored).string();
    ToolOptions options;
    options.environment = offlineEnvironment(environment);
    options.workingDirectory = directory;
    options.outputFile = recordingBase_ + ".log";
    std::vector<std::string> arguments{"heaptrack", "-o", recordingBase_};
    arguments.insert(arguments.end(), command.begin(), command.end());
    std::string error;
    progress(TrackingPhase::attaching, 0);
    auto tool = ToolProcess::start(tools_.heaptrack, arguments, options, error);
    if (!tool) {
        return failed("failed", error);
    }
    ScriptRun run(root_, options.outputFile, std::move(tool));
    double startDeadline = steadySeconds() + kAttachSeconds;
    for (ScriptChildren children; children.program == 0 || children.compressor == 0;
         children = scriptChildren(root_, run.tool().pid(), exe)) {
        if (run.scriptEnded() || steadySeconds() > startDeadline) {
            return failed("failed",
                          "heaptrack could not start " + program + ": " + lastLine(run.output()));
        }
        run.wait(-1, 0.05);
    }
    run.freeze(exe);
    const pid_t programPid = run.children().program;
    auto stat = statOf(root_, programPid);
    const ProcessMark target{programPid, stat ? stat->startTime : 0};
    progress(TrackingPhase::tracking, seconds);
    TrackingOutcome outcome;
    outcome.trackedPid = programPid;
    double started = steadySeconds();
    double deadline = started + seconds;
    while (running(root_, target) && !stop.requested() && steadySeconds() < deadline) {
        run.wait(stop.fd(), std::min(deadline - steadySeconds(), 0.25));
    }
    outcome.trackedSeconds = steadySeconds() - started;
    outcome.processEnded = !running(root_, target);
    outcome.stoppedEarly = !outcome.processEnded && stop.requested();
    if (!outcome.processEnded) {
        // The preload finishes the recording when the program ends: ask it to quit, and end
        // it after half a minute. It is the copy started here, under the restart the person
        // agreed to.
        progress(TrackingPhase::stopping, 0);
        ::kill(programPid, SIGTERM);
        if (!run.waitForRecording(kFinishSeconds / 2) && running(root_, target)) {
            ::kill(programPid, SIGKILL);
        }
    }
    finishRecording(run, outcome);
    // Started again as a restart starts it: detached, in its own session.
    LaunchResult relaunched = launchDetached(command.front(), command, environment, directory);
    if (relaunched.ok) {
        outcome.relaunchedPid = relaunched.pid;
    } else if (!outcome.failure) {
        outcome.failure =
            trackingFailure("failed", "The recording is kept, but starting " + program +
                                          " again failed: " + relaunched.error);
    }
    return outcome;
}

} // namespace velmora
