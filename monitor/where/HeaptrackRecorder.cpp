// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/where/HeaptrackRecorder.h"

#include "monitor/families/FamilyResolver.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

HeaptrackRecorder::HeaptrackRecorder(const HeapTools& tools, const std::string& recordingBase)
    : tools_(tools),
      recording_(recordingBase + (executableBaseName(tools.compressor) == "zstd" ? ".zst" : ".gz")),
      log_(recordingBase + ".log") {}

HeaptrackRecorder::~HeaptrackRecorder() {
    if (leftRunning_) {
        reader_.reset(); // let go: they go on until the process ends
        drain_.reset();
        return;
    }
    if (reader_) {
        reader_->signalGroup(SIGKILL);
    }
    reader_.reset();
    drain_.reset();
    if (holder_ >= 0) {
        ::close(holder_);
    }
    ::unlink(log_.c_str());
    if (!kept_) {
        ::unlink(recording_.c_str());
    }
    if (!folder_.empty()) {
        ::unlink(pipe_.c_str());
        ::rmdir(folder_.c_str());
    }
}

namespace {

// What failed, with the system's own words for the last error.
WhereFailureCodes systemProblem(WhereFailureCode code) {
    return {code, {.detail = std::strerror(errno)}};
}

} // namespace

std::optional<WhereFailureCodes> HeaptrackRecorder::start() {
    char pattern[] = "/tmp/velmora-heaptrack-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        return systemProblem(WhereFailureCode::pipeFolderFailed);
    }
    folder_ = pattern;
    pipe_ = folder_ + "/pipe";
    if (::mkfifo(pipe_.c_str(), 0600) != 0) {
        return systemProblem(WhereFailureCode::pipeFailed);
    }
    holder_ = ::open(pipe_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (holder_ < 0) {
        return systemProblem(WhereFailureCode::pipeOpenFailed);
    }
    ToolOptions options;
    options.outputFile = log_;
    // Every path is an argument of the shell, never part of its text: any name will do.
    std::string error;
    reader_ = ToolProcess::start("/bin/sh",
                                 {"sh", "-c", "\"$1\" < \"$2\" | \"$3\" -c > \"$4\"", "sh",
                                  tools_.interpreter, pipe_, tools_.compressor, recording_},
                                 options, error);
    if (!reader_) {
        return WhereFailureCodes{WhereFailureCode::toolProblem, {.detail = error}};
    }
    return std::nullopt;
}

uint64_t HeaptrackRecorder::recordedBytes() const {
    struct stat info {};
    return ::stat(recording_.c_str(), &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0;
}

bool HeaptrackRecorder::owns(pid_t pid) const {
    return (reader_ && reader_->pid() == pid) || (drain_ && drain_->pid() == pid);
}

bool HeaptrackRecorder::readerEnded() const {
    return reader_ && reader_->exited().has_value();
}

void HeaptrackRecorder::drain() {
    if (drain_) {
        return;
    }
    ToolOptions options;
    options.discardOutput = true;
    std::string ignored;
    // Opened while the holder still is, so the pipe never goes without a reader.
    drain_ = ToolProcess::start("/bin/sh", {"sh", "-c", "exec cat < \"$1\"", "sh", pipe_}, options,
                                ignored);
}

std::optional<WhereFailureCodes> HeaptrackRecorder::finish(double seconds) {
    std::string ignored;
    if (!reader_->waitFor(seconds, ignored)) {
        return WhereFailureCodes{WhereFailureCode::recordingUnfinished,
                                 {.count = static_cast<int64_t>(seconds)}};
    }
    if (recordedBytes() == 0) {
        return WhereFailureCodes{WhereFailureCode::noRecordingWritten, {}};
    }
    kept_ = true;
    return std::nullopt;
}

void HeaptrackRecorder::leaveRunning() {
    leftRunning_ = true;
    if (reader_) {
        reader_->letGo();
    }
    if (drain_) {
        drain_->letGo();
    }
}

} // namespace velmora
