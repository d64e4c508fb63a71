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

MemorySeries decodeRecord(const Json& json, std::type_identity<MemorySeries>) {
    static const MemorySeries defaults;
    const ObjectReader in(json);
    return {
        .stepSeconds = in.defaulted<double>("stepSeconds", defaults.stepSeconds),
        .footprintKiB = in.defaulted<std::vector<uint64_t>>("footprintKiB", defaults.footprintKiB),
        .newestAgoSeconds = in.defaulted<double>("newestAgoSeconds", defaults.newestAgoSeconds),
        .anonKiB = in.defaulted<uint64_t>("anonKiB", defaults.anonKiB),
        .swapKiB = in.defaulted<uint64_t>("swapKiB", defaults.swapKiB),
        .sharedKiB = in.defaulted<uint64_t>("sharedKiB", defaults.sharedKiB),
        .trend = in.optional<MemoryTrendLine>("trend"),
        .marks = in.defaulted<std::vector<VerdictMark>>("marks", defaults.marks),
        .runsOut = in.optional<RunsOutLevel>("runsOut"),
        .outOfMemoryKills =
            in.defaulted<std::vector<double>>("outOfMemoryKills", defaults.outOfMemoryKills),
    };
}

Json encodeRecord(const MemorySeries& value) {
    return ObjectWriter()
        .field("stepSeconds", value.stepSeconds)
        .field("footprintKiB", value.footprintKiB)
        .field("newestAgoSeconds", value.newestAgoSeconds)
        .field("anonKiB", value.anonKiB)
        .field("swapKiB", value.swapKiB)
        .field("sharedKiB", value.sharedKiB)
        .field("trend", value.trend)
        .field("marks", value.marks)
        .field("runsOut", value.runsOut)
        .field("outOfMemoryKills", value.outOfMemoryKills)
        .done();
}

} // namespace velmora
