// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AdvancedHistorySnapshot.h"
#include "model/Decoded.h"
#include "model/Json.h"
#include "model/PopoverSnapshot.h"

#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace velmora {

// One response line from the backend. `kind` is required but not interpreted; which optional
// member is present decides what the line means (see route()).
struct BackendEnvelope {
    std::string kind;
    std::optional<PopoverSnapshot> snapshot;
    std::optional<AdvancedHistorySnapshot> advancedHistory;
    std::optional<std::string> message;

    bool operator==(const BackendEnvelope&) const = default;
};

enum class EnvelopeRoute { snapshot, advancedHistory, message, nothing };

// First match wins: a snapshot, else an advanced history, else a message, else nothing.
EnvelopeRoute route(const BackendEnvelope& envelope);

// Parses and decodes one response line (without its line feed; a trailing "\n" is tolerated).
// Malformed JSON, nesting deeper than 256 levels, a missing `kind` or any member that fails
// to decode is a DecodeError; never throws. An already parsed value decodes with
// decode<BackendEnvelope>(json) from model/Codec.h.
Decoded<BackendEnvelope> decodeBackendEnvelope(std::string_view line);

// The envelope as compact JSON, without a line feed (for test backends and round trips).
std::string encodeBackendEnvelope(const BackendEnvelope& envelope);

BackendEnvelope decodeRecord(const Json& json, std::type_identity<BackendEnvelope>);
Json encodeRecord(const BackendEnvelope& envelope);

} // namespace velmora
