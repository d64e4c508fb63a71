// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/MemoryOutlookSnapshot.h"

#include "model/Codec.h"

namespace velmora {

MemoryForecastSnapshot decodeRecord(const Json& json, std::type_identity<MemoryForecastSnapshot>) {
    const ObjectReader in(json);
    return {
        .exhaustionSeconds = in.optional<uint64_t>("exhaustionSeconds"),
        .exhaustionText = in.optional<std::string>("exhaustionText"),
        .firstVictimKey = in.optional<std::string>("firstVictimKey"),
        .firstVictimText = in.optional<std::string>("firstVictimText"),
        .killerText = in.optional<std::string>("killerText"),
        .firstVictim = in.optional<Coded<VictimCode>>("firstVictim"),
        .killer = in.optional<KillerCodes>("killer"),
    };
}

Json encodeRecord(const MemoryForecastSnapshot& value) {
    return ObjectWriter()
        .field("exhaustionSeconds", value.exhaustionSeconds)
        .field("exhaustionText", value.exhaustionText)
        .field("firstVictimKey", value.firstVictimKey)
        .field("firstVictimText", value.firstVictimText)
        .field("killerText", value.killerText)
        .field("firstVictim", value.firstVictim)
        .field("killer", value.killer)
        .done();
}

OutOfMemoryKillSnapshot decodeRecord(const Json& json,
                                     std::type_identity<OutOfMemoryKillSnapshot>) {
    const ObjectReader in(json);
    return {
        .id = in.required<std::string>("id"),
        .key = in.required<std::string>("key"),
        .title = in.required<std::string>("title"),
        .footprintLabel = in.required<std::string>("footprintLabel"),
        .message = in.required<std::string>("message"),
        .messageCode = in.optional<RecentExplanationCodes>("messageCode"),
    };
}

Json encodeRecord(const OutOfMemoryKillSnapshot& value) {
    return ObjectWriter()
        .field("id", value.id)
        .field("key", value.key)
        .field("title", value.title)
        .field("footprintLabel", value.footprintLabel)
        .field("message", value.message)
        .field("messageCode", value.messageCode)
        .done();
}

std::string identity(const OutOfMemoryKillSnapshot& kill) {
    return kill.id;
}

} // namespace velmora
