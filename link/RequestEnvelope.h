// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/ShellCommand.h"
#include "model/Decoded.h"
#include "model/Enums.h"
#include "model/Json.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

namespace velmora {

// One request line to the backend. Build it with the factory of its kind; each sets exactly
// the fields its kind carries, all others stay absent and are not written.
struct RequestEnvelope {
    static constexpr std::string_view getSnapshotKind = "getSnapshot";
    static constexpr std::string_view dispatchActionKind = "dispatchAction";

    std::string kind;
    std::optional<std::string> actionId;
    std::optional<std::string> targetKey;
    std::optional<std::string> commandId;
    std::optional<std::string> selectedKey;
    std::optional<double> refreshIntervalSeconds;
    std::optional<SettingsStorageMode> storageMode;
    std::optional<bool> enabled;

    static RequestEnvelope getSnapshot();
    static RequestEnvelope dispatchAction(std::string actionId, std::string targetKey);
    static RequestEnvelope dispatchCommand(ShellCommand command);
    static RequestEnvelope getAdvancedHistory(std::optional<std::string> selectedKey);
    static RequestEnvelope updateRefreshInterval(double seconds);
    static RequestEnvelope updateStorageMode(SettingsStorageMode mode);
    static RequestEnvelope updateEvidenceCapture(bool enabled);

    // A poll: its answer is a snapshot. An action: it may wait for processes to quit.
    bool isPoll() const { return kind == getSnapshotKind; }
    bool isAction() const { return kind == dispatchActionKind; }

    bool operator==(const RequestEnvelope&) const = default;
};

// Thrown by encodeRequestLine for a request JSON cannot carry (a refresh interval that is not
// a finite number); the caller treats it as a request that could not be encoded.
class RequestEncodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The request as one compact JSON object, keys in field order, absent fields omitted,
// followed by exactly one "\n": {"kind":"getSnapshot"}\n
std::string encodeRequestLine(const RequestEnvelope& request);

// Reads a request line back (a trailing "\n" is allowed). `kind` is required; the other keys
// are optional and unknown keys are ignored. Used by test backends.
Decoded<RequestEnvelope> decodeRequestLine(std::string_view line);

RequestEnvelope decodeRecord(const Json& json, std::type_identity<RequestEnvelope>);

} // namespace velmora
