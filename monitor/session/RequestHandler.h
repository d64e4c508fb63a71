// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/actions/ActionHandler.h"
#include "monitor/actions/MonitorContext.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Answers one request line with one response line (without the line feed): a snapshot for
// every kind but "getAdvancedHistory", which gets the advanced history (or a message saying why
// the history cannot be read). A
// request that is not JSON, has no kind, names an unknown kind or lacks a field is answered
// with a snapshot carrying an error feedback; nothing ends the process.
class RequestHandler {
public:
    explicit RequestHandler(MonitorContext& context);

    std::string handle(std::string_view line);
    // An answer to a line that was too long to read.
    std::string oversized(std::size_t bytes);
    bool quitRequested() const { return quitRequested_; }
    PopoverSnapshot snapshot();

    // Seconds since the sampler last made progress, when it has stalled (absent while it keeps
    // up); every snapshot then says so in `samplingStalledMs`. None by default.
    using SamplingStall = std::function<std::optional<double>()>;
    void setSamplingStall(SamplingStall stall) { samplingStall_ = std::move(stall); }

private:
    std::string route(const Json& request);
    std::string snapshotLine();
    std::string rejected(const std::string& reason);
    std::string updateSetting(const std::string& kind, const Json& request);
    std::string advancedHistoryLine(const Json& request);

    MonitorContext& context_;
    ActionHandler actions_;
    SamplingStall samplingStall_;
    bool quitRequested_ = false;
};

} // namespace velmora
