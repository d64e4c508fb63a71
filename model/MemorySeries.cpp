// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/MemorySeries.h"

#include "model/Codec.h"

namespace velmora {

double agoSecondsOf(const MemorySeries& series, std::size_t index) {
    const std::size_t count = series.footprintKiB.size();
    if (index + 1 >= count) {
        return series.newestAgoSeconds;
    }
    return nowAgo(series, static_cast<double>(count - 1 - index) * series.stepSeconds);
}

double nowAgo(const MemorySeries& series, double agoOfNewest) {
    return agoOfNewest + series.newestAgoSeconds;
}

MemoryTrendLine decodeRecord(const Json& json, std::type_identity<MemoryTrendLine>) {
    const ObjectReader in(json);
    return {
        .startAgoSeconds = in.required<double>("startAgoSeconds"),
        .startKiB = in.required<double>("startKiB"),
        .kiBPerSecond = in.required<double>("kiBPerSecond"),
    };
}

Json encodeRecord(const MemoryTrendLine& value) {
    return ObjectWriter()
        .field("startAgoSeconds", value.startAgoSeconds)
        .field("startKiB", value.startKiB)
        .field("kiBPerSecond", value.kiBPerSecond)
        .done();
}

VerdictMark decodeRecord(const Json& json, std::type_identity<VerdictMark>) {
    const ObjectReader in(json);
    return {
        .agoSeconds = in.required<double>("agoSeconds"),
        .verdict = in.required<FindingVerdict>("verdict"),
    };
}

Json encodeRecord(const VerdictMark& value) {
    return ObjectWriter()
        .field("agoSeconds", value.agoSeconds)
        .field("verdict", value.verdict)
        .done();
}

RunsOutLevel decodeRecord(const Json& json, std::type_identity<RunsOutLevel>) {
    const ObjectReader in(json);
    return {
        .inSeconds = in.required<double>("inSeconds"),
        .levelKiB = in.required<uint64_t>("levelKiB"),
    };
}

Json encodeRecord(const RunsOutLevel& value) {
    return ObjectWriter()
        .field("inSeconds", value.inSeconds)
        .field("levelKiB", value.levelKiB)
        .done();
}

MemoryKindPoints decodeRecord(const Json& json, std::type_identity<MemoryKindPoints>) {
    const ObjectReader in(json);
    return {
        .anonKiB = in.defaulted<std::vector<uint64_t>>("anonKiB", std::vector<uint64_t>{}),
        .swapKiB = in.defaulted<std::vector<uint64_t>>("swapKiB", std::vector<uint64_t>{}),
        .sharedKiB = in.defaulted<std::vector<uint64_t>>("sharedKiB", std::vector<uint64_t>{}),
    };
}

Json encodeRecord(const MemoryKindPoints& value) {
    return ObjectWriter()
        .field("anonKiB", value.anonKiB)
        .field("swapKiB", value.swapKiB)
        .field("sharedKiB", value.sharedKiB)
        .done();
}

MemberMemorySeries decodeRecord(const Json& json, std::type_identity<MemberMemorySeries>) {
    const ObjectReader in(json);
    return {
        .pid = in.required<int64_t>("pid"),
        .name = in.defaulted<std::string>("name", std::string()),
        .footprintKiB =
            in.defaulted<std::vector<uint64_t>>("footprintKiB", std::vector<uint64_t>{}),
        .trend = in.optional<MemoryTrendLine>("trend"),
    };
}

Json encodeRecord(const MemberMemorySeries& value) {
    return ObjectWriter()
        .field("pid", value.pid)
        .field("name", value.name)
        .field("footprintKiB", value.footprintKiB)
        .field("trend", value.trend)
        .done();
}

MemorySeries decodeRecord(const Json& json, std::type_identity<MemorySeries>) {
    static const MemorySeries defaults;
    const ObjectReader in(json);
    return {
        .stepSeconds = in.defaulted<double>("stepSeconds", defaults.stepSeconds),
        .footprintKiB = in.defaulted<std::vector<uint64_t>>("footprintKiB", defaults.footprintKiB),
        .newestAgoSeconds = in.defaulted<double>("newestAgoSeconds", defaults.newestAgoSeconds),
        .nowWallSeconds = in.optional<double>("nowWallSeconds"),
        .anonKiB = in.defaulted<uint64_t>("anonKiB", defaults.anonKiB),
        .swapKiB = in.defaulted<uint64_t>("swapKiB", defaults.swapKiB),
        .sharedKiB = in.defaulted<uint64_t>("sharedKiB", defaults.sharedKiB),
        .trend = in.optional<MemoryTrendLine>("trend"),
        .marks = in.defaulted<std::vector<VerdictMark>>("marks", defaults.marks),
        .runsOut = in.optional<RunsOutLevel>("runsOut"),
        .outOfMemoryKills =
            in.defaulted<std::vector<double>>("outOfMemoryKills", defaults.outOfMemoryKills),
        .kinds = in.optional<MemoryKindPoints>("kinds"),
        .growingMember = in.optional<MemberMemorySeries>("growingMember"),
    };
}

Json encodeRecord(const MemorySeries& value) {
    return ObjectWriter()
        .field("stepSeconds", value.stepSeconds)
        .field("footprintKiB", value.footprintKiB)
        .field("newestAgoSeconds", value.newestAgoSeconds)
        .field("nowWallSeconds", value.nowWallSeconds)
        .field("anonKiB", value.anonKiB)
        .field("swapKiB", value.swapKiB)
        .field("sharedKiB", value.sharedKiB)
        .field("trend", value.trend)
        .field("marks", value.marks)
        .field("runsOut", value.runsOut)
        .field("outOfMemoryKills", value.outOfMemoryKills)
        .field("kinds", value.kinds)
        .field("growingMember", value.growingMember)
        .done();
}

} // namespace velmora
