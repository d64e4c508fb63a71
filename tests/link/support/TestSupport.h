// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/CurrentValuePublisher.h"
#include "link/VelmoraBackend.h"
#include "tests/support/Eventually.h"
#include "tests/support/FileText.h"
#include "tests/support/TemporaryDirectory.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace velmora::testing {

// Path of a fake backend program built from tests/fixtures/.
std::filesystem::path fixture(const std::string& name);

// Redirects a descriptor (standard error or output) into a file for the object's lifetime.
class CapturedOutput {
public:
    explicit CapturedOutput(int fd);
    ~CapturedOutput();
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    // Everything written to the descriptor so far.
    std::string text() const;
    // The lines written so far that start with `prefix`.
    std::vector<std::string> linesStartingWith(const std::string& prefix) const;

private:
    int fd_;
    int saved_;
    std::filesystem::path file_;
};

// Collects every snapshot a backend publishes.
class SnapshotRecorder {
public:
    explicit SnapshotRecorder(VelmoraBackend& backend);
    ~SnapshotRecorder();

    std::vector<PopoverSnapshot> snapshots() const;
    std::size_t count() const;
    // Waits until a snapshot whose summary is `summary` has arrived.
    bool waitForSummary(const std::string& summary,
                        std::chrono::milliseconds timeout = std::chrono::seconds(5));

private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<PopoverSnapshot> snapshots_;
    std::unique_ptr<Subscription> subscription_;
};

} // namespace velmora::testing
