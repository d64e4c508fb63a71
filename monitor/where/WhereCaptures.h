// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/common/LaunchSpec.h"
#include "monitor/where/LeakReport.h"
#include "monitor/where/ToolProcess.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora {

enum class WherePhase { starting, tracking, stopping, analysing, finished };

// One heap tracking of a family as the monitor follows it: what is tracked, how far it got and,
// once finished, its report or why there is none.
struct WhereCapture {
    std::string key;
    std::string title;
    std::string processName;
    pid_t pid = 0;
    uint64_t startTime = 0; // of the process judged, so a reused PID is never tracked
    uint64_t recordingCapBytes = 1ull << 30; // tracking stops when the recording reaches it
    bool restarted = false;                  // started again under tracking rather than attached
    double seconds = 0;                      // how long tracking was asked to last
    WherePhase phase = WherePhase::starting;
    double trackingSince = 0; // continuous seconds at which tracking began
    double finishedAt = 0;    // wall-clock seconds
    std::optional<WhereReport> report;
    std::optional<WhereFailure> failure;
    bool announced = false;       // the person was told it finished
    std::string programVersion;   // the Debian package of the tracked program, when it has one
    bool viewerInstalled = false; // heaptrack_gui was there to open the recording when it ended
};

// The heap trackings the monitor runs and remembers, one per family. One runs at a time, in a
// `velmora where --progress` child whose lines are read without waiting whenever a request
// comes; the child finishes cleanly by itself (detaching heaptrack) even when the monitor goes
// away, since it is asked to stop early when its parent ends.
class WhereCaptures {
public:
    explicit WhereCaptures(std::string executable = "/proc/self/exe");
    // A tracking still running is asked to end early and left to finish by itself: it
    // detaches heaptrack and completes the recording without the monitor.
    ~WhereCaptures();
    WhereCaptures(const WhereCaptures&) = delete;
    WhereCaptures& operator=(const WhereCaptures&) = delete;

    const WhereCapture* running() const;
    const WhereCapture* find(const std::string& key) const;
    std::vector<const WhereCapture*> finished() const;

    // Start tracking; false with `error` set when the child could not be started.
    bool attach(WhereCapture capture, const std::string& artifactsDir, std::string& error);
    bool launch(WhereCapture capture, const LaunchSpec& program, const std::string& artifactsDir,
                std::string& error);
    // Remembers a tracking that could not be done, with its reason.
    void refuse(WhereCapture capture, WhereFailure failure, double wallNow);

    // Reads what the child has written; call before answering a request.
    void follow(double wallNow);
    // Asks the running tracking to end now; what was recorded is still read.
    void stop();
    // Finished captures the person was not told about yet; they count as told afterwards.
    std::vector<const WhereCapture*> takeUnannounced();

    // Families remembered at most; the oldest finished ones go first.
    static constexpr std::size_t kRemembered = 16;

private:
    bool start(WhereCapture capture, const std::vector<std::string>& arguments, ToolOptions options,
               std::string& error);
    void take(const std::string& line);
    void finish(double wallNow);

    std::string executable_;
    std::unique_ptr<ToolProcess> child_;
    std::string output_;
    std::string runningKey_;
    std::map<std::string, WhereCapture> captures_;
};

} // namespace velmora
