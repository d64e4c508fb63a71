// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/WhereCodes.h"
#include "monitor/where/HeapTools.h"
#include "monitor/where/ToolProcess.h"

#include <cstdint>
#include <memory>
#include <string>

namespace velmora {

// The reading side of one tracking: a private pipe the tracked process writes into, heaptrack's
// interpreter reading it and the compressor writing the recording (the recording's base path
// with .zst or .gz). A read end of the pipe is also held here the whole time, so the tracked
// process never writes into a pipe nobody holds (SIGPIPE would end it): when the reader dies,
// what the process still writes is drained away until heaptrack in it has been stopped.
// Unless kept, the recording and the pipe are removed when this goes, and the reader with them.
class HeaptrackRecorder {
public:
    HeaptrackRecorder(const HeapTools& tools, const std::string& recordingBase);
    ~HeaptrackRecorder();
    HeaptrackRecorder(const HeaptrackRecorder&) = delete;
    HeaptrackRecorder& operator=(const HeaptrackRecorder&) = delete;

    // Makes the pipe and starts the reader; the problem when it could not.
    std::optional<WhereFailureCodes> start();
    const std::string& pipe() const { return pipe_; }
    const std::string& recording() const { return recording_; }
    uint64_t recordedBytes() const;
    // Whether `pid` is one of the processes started here.
    bool owns(pid_t pid) const;
    // The reader ended before the tracked process stopped writing.
    bool readerEnded() const;
    // From now on what the tracked process writes is read and thrown away.
    void drain();
    // Waits up to `seconds` for the reader to finish the recording once the process has stopped
    // writing; the recording is kept then. Otherwise the problem.
    std::optional<WhereFailureCodes> finish(double seconds);
    // The process could not be stopped from writing: the reader (or the drain) and the pipe are
    // left to go on until the process ends.
    void leaveRunning();

private:
    const HeapTools& tools_;
    std::string folder_;
    std::string pipe_;
    std::string recording_;
    std::string log_;
    int holder_ = -1;
    std::unique_ptr<ToolProcess> reader_;
    std::unique_ptr<ToolProcess> drain_;
    bool kept_ = false;
    bool leftRunning_ = false;
};

} // namespace velmora
