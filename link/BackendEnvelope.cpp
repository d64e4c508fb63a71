// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/BackendEnvelope.h"

#include "model/Codec.h"

namespace velmora {

EnvelopeRoute route(const BackendEnvelope& envelope) {
    if (envelope.snapshot) {
        return EnvelopeRoute::snapshot;
    }
    if (envelope.advancedHistory) {
        return EnvelopeRoute::advancedHistory;
    }
    if (envelope.message) {
        return EnvelopeRoute::message;
    }
    return EnvelopeRoute::nothing;
}

BackendEnvelope decodeRecord(const Json& json, std::type_identity<BackendEnvelope>) {
    const ObjectReader in(json);
    return {
        .kind = in.required<std::string>("kind"),
        .snapshot = in.optional<PopoverSnapshot>("snapshot"),
        .advancedHistory = in.optional<AdvancedHistorySnapshot>("advancedHistory"),
        .message = in.optional<std::string>("message"),
    };
}

Json encodeRecord(const BackendEnvelope& envelope) {
    return ObjectWriter()
        .field("kind", envelope.kind)
        .field("snapshot", envelope.snapshot)
        .field("advancedHistory", envelope.advancedHistory)
        .field("message", envelope.message)
        .done();
}

Decoded<BackendEnvelope> decodeBackendEnvelope(std::string_view line) {
    return decodeText<BackendEnvelope>(line);
}

std::string encodeBackendEnvelope(const BackendEnvelope& envelope) {
    return dumpJsonText(encode(envelope));
}

} // namespace velmora
