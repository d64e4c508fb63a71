// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/WhereItGrowsBlock.h"

#include "model/Codec.h"

namespace velmora {

bool WhereItGrowsBlock::operator==(const WhereItGrowsBlock& other) const {
    return stage == other.stage && status == other.status && progress == other.progress &&
           sites == other.sites && notes == other.notes && commands == other.commands &&
           actions == other.actions && codes == other.codes;
}

WhereSiteSnapshot decodeRecord(const Json& json, std::type_identity<WhereSiteSnapshot>) {
    const ObjectReader in(json);
    return {
        .headline = in.required<std::string>("headline"),
        .stack = in.required<std::vector<std::string>>("stack"),
    };
}

Json encodeRecord(const WhereSiteSnapshot& value) {
    return ObjectWriter().field("headline", value.headline).field("stack", value.stack).done();
}

WhereItGrowsBlock decodeRecord(const Json& json, std::type_identity<WhereItGrowsBlock>) {
    const ObjectReader in(json);
    return {
        .stage = in.required<WhereStage>("stage"),
        .status = in.required<std::string>("status"),
        .progress = in.optional<double>("progress"),
        .sites =
            in.defaulted<std::vector<WhereSiteSnapshot>>("sites", std::vector<WhereSiteSnapshot>{}),
        .notes = in.defaulted<std::vector<std::string>>("notes", std::vector<std::string>{}),
        .commands = in.defaulted<std::vector<NextCommandDescriptor>>(
            "commands", std::vector<NextCommandDescriptor>{}),
        .actions =
            in.defaulted<std::vector<ActionDescriptor>>("actions", std::vector<ActionDescriptor>{}),
        .codes = in.optional<WhereCodes>("codes"),
    };
}

Json encodeRecord(const WhereItGrowsBlock& value) {
    return ObjectWriter()
        .field("stage", value.stage)
        .field("status", value.status)
        .field("progress", value.progress)
        .field("sites", value.sites)
        .field("notes", value.notes)
        .field("commands", value.commands)
        .field("actions", value.actions)
        .field("codes", value.codes)
        .done();
}

} // namespace velmora
