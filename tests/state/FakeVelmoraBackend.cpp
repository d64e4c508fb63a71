// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeVelmoraBackend.h"

#include <charconv>

namespace velmora::testing {

class FakeVelmoraBackend::Token final : public Subscription {
public:
    Token(FakeVelmoraBackend& backend, int id, bool link)
        : backend_(backend), id_(id), link_(link) {}
    ~Token() override {
        std::lock_guard lock(backend_.mutex_);
        if (link_) {
            backend_.linkHandlers_.erase(id_);
        } else {
            backend_.handlers_.erase(id_);
        }
    }

private:
    FakeVelmoraBackend& backend_;
    int id_;
    bool link_;
};

PopoverSnapshot FakeVelmoraBackend::currentSnapshot() const {
    std::lock_guard lock(mutex_);
    return current_;
}

std::unique_ptr<Subscription> FakeVelmoraBackend::subscribe(SnapshotHandler handler) {
    PopoverSnapshot current;
    int id = 0;
    {
        std::lock_guard lock(mutex_);
        id = nextHandler_++;
        handlers_.emplace(id, handler);
        current = current_;
    }
    handler(current);
    return std::make_unique<Token>(*this, id, false);
}

MonitorLinkState FakeVelmoraBackend::currentMonitorLink() const {
    std::lock_guard lock(mutex_);
    return link_;
}

std::unique_ptr<Subscription> FakeVelmoraBackend::subscribeMonitorLink(MonitorLinkHandler handler) {
    MonitorLinkState current;
    int id = 0;
    {
        std::lock_guard lock(mutex_);
        id = nextHandler_++;
        linkHandlers_.emplace(id, handler);
        current = link_;
    }
    handler(current);
    return std::make_unique<Token>(*this, id, true);
}

void FakeVelmoraBackend::publishLink(const MonitorLinkState& state) {
    std::vector<MonitorLinkHandler> handlers;
    {
        std::lock_guard lock(mutex_);
        link_ = state;
        for (const auto& [id, handler] : linkHandlers_) {
            handlers.push_back(handler);
        }
    }
    for (const auto& handler : handlers) {
        handler(state);
    }
}

void FakeVelmoraBackend::restartMonitor() {
    record("restart monitor");
}

void FakeVelmoraBackend::publish(const PopoverSnapshot& snapshot) {
    std::vector<SnapshotHandler> handlers;
    {
        std::lock_guard lock(mutex_);
        current_ = snapshot;
        for (const auto& [id, handler] : handlers_) {
            handlers.push_back(handler);
        }
    }
    for (const auto& handler : handlers) {
        handler(snapshot);
    }
}

void FakeVelmoraBackend::dispatch(const std::string& actionID, const std::string& targetKey) {
    record("dispatch " + actionID + "::" + targetKey);
}

void FakeVelmoraBackend::dispatch(ShellCommand command) {
    record("command " + std::string(toWire(command)));
}

void FakeVelmoraBackend::fetchAdvancedHistory(std::optional<std::string> selectedKey,
                                              HistoryCompletion completion) {
    record("history " + selectedKey.value_or("-"));
    std::lock_guard lock(mutex_);
    completions_.push_back(std::move(completion));
}

void FakeVelmoraBackend::updateRefreshInterval(double seconds) {
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, seconds).ptr;
    record("refresh " + std::string(digits, end));
}

void FakeVelmoraBackend::updateStorageMode(SettingsStorageMode mode) {
    record("storage " + std::string(toWire(mode)));
}

void FakeVelmoraBackend::updateEvidenceCaptureEnabled(bool enabled) {
    record(enabled ? "evidence on" : "evidence off");
}

void FakeVelmoraBackend::completeHistory(std::size_t index, HistoryResult result) {
    HistoryCompletion completion;
    {
        std::lock_guard lock(mutex_);
        completion = completions_.at(index);
    }
    completion(std::move(result));
}

std::size_t FakeVelmoraBackend::historyRequestCount() const {
    std::lock_guard lock(mutex_);
    return completions_.size();
}

std::vector<std::string> FakeVelmoraBackend::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<std::string> FakeVelmoraBackend::takeCalls() {
    std::lock_guard lock(mutex_);
    return std::exchange(calls_, {});
}

std::size_t FakeVelmoraBackend::subscriberCount() const {
    std::lock_guard lock(mutex_);
    return handlers_.size();
}

void FakeVelmoraBackend::record(std::string call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
}

} // namespace velmora::testing
