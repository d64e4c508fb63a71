// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/proc/ProcRoot.h"
#include "monitor/where/HeapTools.h"
#include "monitor/where/HeaptrackRecorder.h"
#include "monitor/where/LeakReport.h"

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora {

// A request to end tracking before its time, from another thread or a signal handler: its
// descriptor becomes readable once asked.
class StopRequest {
public:
    StopRequest();
    ~StopRequest();
    StopRequest(const StopRequest&) = delete;
    StopRequest& operator=(const StopRequest&) = delete;

    void request() const; // async-signal-safe
    bool requested() const;
    int fd() const { return fds_[0]; }

private:
    int fds_[2] = {-1, -1};
};

enum class TrackingPhase { attaching, tracking, stopping, analysing };
// Told at every phase: for `tracking`, how many seconds it lasts.
using TrackingProgress = std::function<void(TrackingPhase, double seconds)>;

// How one tracking went: where the recording is, how long it ran and what happened on the way,
// or why nothing was recorded.
struct TrackingOutcome {
    std::string recording; // empty when nothing was recorded
    double trackedSeconds = 0;
    bool processEnded = false;
    bool stoppedEarly = false;
    pid_t trackedPid = 0;    // the process tracked (the new one when launched)
    pid_t relaunchedPid = 0; // launched again without tracking afterwards
    pid_t continuedPid = 0;  // a launched program went on in this process (it forked and exited)
    std::string note;        // what a person should know about a recording that was made
    std::optional<WhereFailure> failure;
};

// Runs heaptrack on one process: attached to a running process through gdb (`heaptrack -p`),
// or starting a program under heaptrack's preload, which needs no ptrace. Tracking ends at its
// time, when asked to stop, when the process ends, when the recording reaches its cap or when
// heaptrack's reader dies; an attached process is then detached with heaptrack's own stop call
// (always before a recording is thrown away), a launched one is asked to quit (SIGTERM). A
// launched program is then started again without tracking whatever happened, unless it was
// closed during tracking or went on in another process.
class HeapTracker {
public:
    // `recordingBase`: the recording's path without heaptrack's suffix (.zst or .gz); the
    // recording is never let grow past `recordingCapBytes`.
    HeapTracker(HeapTools tools, const ProcRoot& root, std::string recordingBase,
                uint64_t recordingCapBytes = kDefaultRecordingCap);

    // Attaches to `pid` only while it is still the process started at `startTime` (clock ticks
    // after boot, as /proc says; 0: whichever process has the PID now).
    TrackingOutcome attach(pid_t pid, uint64_t startTime, double seconds, const StopRequest& stop,
                           const TrackingProgress& progress) const;
    // `command` (program path first) runs with `environment` in `directory`.
    TrackingOutcome launch(const std::vector<std::string>& command,
                           const std::vector<std::string>& environment,
                           const std::string& directory, double seconds, const StopRequest& stop,
                           const TrackingProgress& progress) const;

    // Seconds allowed for attaching, detaching and finishing the recording.
    static constexpr double kAttachSeconds = 60;
    static constexpr double kFinishSeconds = 60;
    static constexpr uint64_t kDefaultRecordingCap = 1ull << 30;

private:
    enum class Ending { time, stopped, processEnded, readerEnded, capped };
    // Waits while `alive` until tracking has to end, and says why.
    Ending watch(const std::function<bool()>& alive, const HeaptrackRecorder& recorder,
                 double seconds, const StopRequest& stop, TrackingOutcome& outcome) const;
    TrackingOutcome launchTracked(const std::vector<std::string>& command,
                                  const std::vector<std::string>& environment,
                                  const std::string& directory, double seconds,
                                  const StopRequest& stop, const TrackingProgress& progress) const;
    pid_t survivorOf(const HeaptrackRecorder& recorder) const;

    const HeapTools tools_;
    const ProcRoot& root_;
    const std::string recordingBase_;
    const uint64_t recordingCap_;
};

} // namespace velmora
