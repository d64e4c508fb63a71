// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/actions/SeriesCsv.h"

#include "model/Enums.h"
#include "model/WireEnum.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace velmora {

namespace {

struct Line {
    double ago = 0;
    std::string footprint;
    std::string event;
    std::string parts; // ",anon,swap,shared,member", empty fields where not known
};

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

// The figure of `values` for the series' point `index`: the list is aligned with the points from
// the newest end, so a shorter list has nothing for the oldest points.
std::string alignedFigure(const std::vector<uint64_t>& values, std::size_t index,
                          std::size_t points) {
    const std::size_t fromNewest = points - 1 - index;
    if (fromNewest >= values.size()) {
        return {};
    }
    return std::to_string(values[values.size() - 1 - fromNewest]);
}

std::string partsAt(const MemorySeries& series, std::size_t index) {
    const std::size_t points = series.footprintKiB.size();
    static const std::vector<uint64_t> none;
    const MemoryKindPoints* kinds = series.kinds ? &*series.kinds : nullptr;
    // Appended one by one: GCC 12 warns falsely (-Wrestrict) about "," + a temporary string.
    std::string parts;
    for (const std::vector<uint64_t>* values :
         {kinds ? &kinds->anonKiB : &none, kinds ? &kinds->swapKiB : &none,
          kinds ? &kinds->sharedKiB : &none,
          series.growingMember ? &series.growingMember->footprintKiB : &none}) {
        parts += ',';
        parts += alignedFigure(*values, index, points);
    }
    return parts;
}

} // namespace

std::string memorySeriesCsv(const MemorySeries& series) {
    std::vector<Line> lines;
    for (std::size_t i = 0; i < series.footprintKiB.size(); ++i) {
        lines.push_back({agoSecondsOf(series, i),
                         std::to_string(series.footprintKiB[i]),
                         {},
                         partsAt(series, i)});
    }
    for (const VerdictMark& mark : series.marks) {
        lines.push_back(
            {nowAgo(series, mark.agoSeconds), {}, std::string(toWire(mark.verdict)), ",,,,"});
    }
    for (double kill : series.outOfMemoryKills) {
        lines.push_back({nowAgo(series, kill), {}, "oom_kill", ",,,,"});
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line& a, const Line& b) { return a.ago > b.ago; });
    // The footprint's parts and the growing member's own footprint come after the first three
    // columns, so a reader of those keeps working.
    std::string csv = "seconds_ago,footprint_kib,event,anon_kib,swap_kib,shared_kib,member_kib\n";
    for (const Line& line : lines) {
        csv += seconds(line.ago) + "," + line.footprint + "," + line.event + line.parts + "\n";
    }
    return csv;
}

} // namespace velmora
