// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/where/WhereCaptures.h"

#include "model/Codec.h"
#include "monitor/common/DisplayText.h"
#include "monitor/live/LiveMonitor.h"
#include "monitor/where/HeapTools.h"

#include <algorithm>
#include <csignal>

namespace velmora {
namespace {

std::vector<std::string> commonArguments(const WhereCapture& capture,
                                         const std::string& artifactsDir) {
    return {"--seconds",
            std::to_string(std::clamp(capture.seconds, 1.0, 600.0)),
            "--max-recording-bytes",
            std::to_string(std::max<uint64_t>(capture.recordingCapBytes, 1)),
            "--progress",
            "--artifacts-dir",
            artifactsDir};
}

} // namespace

WhereCaptures::WhereCaptures(std::string executable) : executable_(std::move(executable)) {}

WhereCaptures::~WhereCaptures() {
    if (child_) {
        stop();
        child_->letGo();
    }
}

const WhereCapture* WhereCaptures::running() const {
    return child_ ? find(runningKey_) : nullptr;
}

const WhereCapture* WhereCaptures::find(const std::string& key) const {
    auto it = captures_.find(key);
    return it == captures_.end() ? nullptr : &it->second;
}

std::vector<const WhereCapture*> WhereCaptures::finished() const {
    std::vector<const WhereCapture*> out;
    for (const auto& [key, capture] : captures_) {
        if (capture.phase == WherePhase::finished) {
            out.push_back(&capture);
        }
    }
    return out;
}

bool WhereCaptures::attach(WhereCapture capture, const std::string& artifactsDir,
                           std::string& error) {
    std::vector<std::string> arguments{"velmora", "where", std::to_string(capture.pid),
                                       "--start-time", std::to_string(capture.startTime)};
    auto common = commonArguments(capture, artifactsDir);
    arguments.insert(arguments.end(), common.begin(), common.end());
    return start(std::move(capture), arguments, {}, error);
}

bool WhereCaptures::launch(WhereCapture capture, const LaunchSpec& program,
                           const std::string& artifactsDir, std::string& error) {
    std::vector<std::string> arguments{"velmora", "where", "--launch"};
    auto common = commonArguments(capture, artifactsDir);
    arguments.insert(arguments.end(), common.begin(), common.end());
    arguments.push_back("--");
    // heaptrack starts the program file itself, under the name it had.
    arguments.push_back(program.program);
    arguments.insert(arguments.end(), program.command.begin() + 1, program.command.end());
    ToolOptions options;
    options.environment = program.environment;
    options.workingDirectory = program.directory;
    capture.restarted = true;
    return start(std::move(capture), arguments, options, error);
}

bool WhereCaptures::start(WhereCapture capture, const std::vector<std::string>& arguments,
                          ToolOptions options, std::string& error) {
    if (child_) {
        error = "Velmora is already tracking another process.";
        return false;
    }
    // Ended early, cleanly, if the monitor goes away while it tracks.
    options.parentDeathSignal = SIGINT;
    child_ = ToolProcess::start(executable_, arguments, options, error);
    if (!child_) {
        return false;
    }
    output_.clear();
    runningKey_ = capture.key;
    capture.phase = WherePhase::starting;
    captures_[capture.key] = std::move(capture);
    return true;
}

void WhereCaptures::refuse(WhereCapture capture, WhereFailure failure, double wallNow) {
    if (child_ && runningKey_ == capture.key) {
        return; // the running one stays
    }
    capture.phase = WherePhase::finished;
    capture.failure = std::move(failure);
    capture.finishedAt = wallNow;
    capture.announced = true; // said at once, in the answer to the press
    captures_[capture.key] = std::move(capture);
}

void WhereCaptures::follow(double wallNow) {
    if (!child_) {
        return;
    }
    bool open = child_->readAvailable(output_, 4 << 20);
    for (std::size_t nl; (nl = output_.find('\n')) != std::string::npos;) {
        take(output_.substr(0, nl));
        output_.erase(0, nl + 1);
    }
    if (!open || child_->exited()) {
        std::string rest;
        if (child_->waitFor(2, rest)) {
            output_ += rest;
            if (!output_.empty()) {
                take(output_);
                output_.clear();
            }
            finish(wallNow);
        }
    }
}

void WhereCaptures::take(const std::string& line) {
    auto it = captures_.find(runningKey_);
    auto json = parseJsonText(line);
    if (it == captures_.end() || !json || !json.value().is_object()) {
        return; // not ours to read: a diagnostic of the child
    }
    WhereCapture& capture = it->second;
    const Json& object = json.value();
    if (auto phase = object.find("phase"); phase != object.end() && phase->is_string()) {
        const std::string name = phase->get<std::string>();
        if (name == "tracking") {
            capture.phase = WherePhase::tracking;
            capture.trackingSince = object.value("since", continuousSeconds());
            capture.seconds = object.value("seconds", capture.seconds);
        } else if (name == "stopping") {
            capture.phase = WherePhase::stopping;
        } else if (name == "analysing") {
            capture.phase = WherePhase::analysing;
        }
        return;
    }
    if (auto version = object.find("programVersion");
        version != object.end() && version->is_string()) {
        capture.programVersion = displayText(version->get<std::string>(), 200);
        return;
    }
    if (object.contains("error")) {
        auto failure = decode<WhereFailure>(object["error"]);
        capture.failure = failure ? failure.value()
                                  : trackingFailure("failed", WhereFailureCode::answerUnread,
                                                    {.detail = failure.error().text()});
        return;
    }
    auto report = decode<WhereReport>(object);
    if (!report) {
        capture.failure = trackingFailure("failed", WhereFailureCode::reportUnread,
                                          {.detail = report.error().text()});
        return;
    }
    capture.report = report.value();
}

void WhereCaptures::finish(double wallNow) {
    auto it = captures_.find(runningKey_);
    if (it != captures_.end()) {
        WhereCapture& capture = it->second;
        if (!capture.report && !capture.failure) {
            capture.failure = trackingFailure("failed", WhereFailureCode::noReport);
        }
        if (capture.report && capture.report->relaunchedPid > 0) {
            capture.pid = static_cast<pid_t>(capture.report->relaunchedPid);
        }
        capture.phase = WherePhase::finished;
        capture.finishedAt = wallNow;
        capture.viewerInstalled = !HeapTools::find().heaptrackGui.empty();
    }
    child_.reset();
    runningKey_.clear();
    while (captures_.size() > kRemembered) {
        auto oldest = captures_.end();
        for (auto candidate = captures_.begin(); candidate != captures_.end(); ++candidate) {
            if (candidate->second.phase == WherePhase::finished &&
                (oldest == captures_.end() ||
                 candidate->second.finishedAt < oldest->second.finishedAt)) {
                oldest = candidate;
            }
        }
        if (oldest == captures_.end()) {
            break;
        }
        captures_.erase(oldest);
    }
}

void WhereCaptures::stop() {
    if (child_) {
        ::kill(child_->pid(), SIGINT);
    }
}

std::vector<const WhereCapture*> WhereCaptures::takeUnannounced() {
    std::vector<const WhereCapture*> out;
    for (auto& [key, capture] : captures_) {
        if (capture.phase == WherePhase::finished && !capture.announced) {
            capture.announced = true;
            out.push_back(&capture);
        }
    }
    return out;
}

} // namespace velmora
