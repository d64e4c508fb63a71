// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/link/support/TestSupport.h"

#include <atomic>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace velmora::testing {

std::filesystem::path fixture(const std::string& name) {
    return std::filesystem::path(VELMORA_FIXTURES_DIR) / name;
}

namespace {
std::filesystem::path captureFileName() {
    static std::atomic<int> counter{0};
    return std::filesystem::temp_directory_path() /
           ("velmora-capture-" + std::to_string(::getpid()) + "-" +
            std::to_string(counter.fetch_add(1)) + ".txt");
}
} // namespace

CapturedOutput::CapturedOutput(int fd) : fd_(fd), saved_(::dup(fd)), file_(captureFileName()) {
    const int target = ::open(file_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0600);
    ::dup2(target, fd_);
    ::close(target);
}

CapturedOutput::~CapturedOutput() {
    ::dup2(saved_, fd_);
    ::close(saved_);
    std::error_code ignored;
    std::filesystem::remove(file_, ignored);
}

std::string CapturedOutput::text() const {
    return readFile(file_);
}

std::vector<std::string> CapturedOutput::linesStartingWith(const std::string& prefix) const {
    std::vector<std::string> lines;
    std::istringstream stream(text());
    for (std::string line; std::getline(stream, line);) {
        if (line.rfind(prefix, 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

SnapshotRecorder::SnapshotRecorder(VelmoraBackend& backend) {
    subscription_ = backend.subscribe([this](const PopoverSnapshot& snapshot) {
        {
            std::lock_guard lock(mutex_);
            snapshots_.push_back(snapshot);
        }
        arrived_.notify_all();
    });
}

SnapshotRecorder::~SnapshotRecorder() {
    subscription_.reset();
}

std::vector<PopoverSnapshot> SnapshotRecorder::snapshots() const {
    std::lock_guard lock(mutex_);
    return snapshots_;
}

std::size_t SnapshotRecorder::count() const {
    std::lock_guard lock(mutex_);
    return snapshots_.size();
}

bool SnapshotRecorder::waitForSummary(const std::string& summary,
                                      std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] {
        for (const auto& snapshot : snapshots_) {
            if (snapshot.summaryText == summary) {
                return true;
            }
        }
        return false;
    });
}

} // namespace velmora::testing
