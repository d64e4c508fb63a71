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
};

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

} // namespace

std::string memorySeriesCsv(const MemorySeries& series) {
    std::vector<Line> lines;
    for (std::size_t i = 0; i < series.footprintKiB.size(); ++i) {
        lines.push_back({agoSecondsOf(series, i), std::to_string(series.footprintKiB[i]), {}});
    }
    for (const VerdictMark& mark : series.marks) {
        lines.push_back({nowAgo(series, mark.agoSeconds), {}, std::string(toWire(mark.verdict))});
    }
    for (double kill : series.outOfMemoryKills) {
        lines.push_back({nowAgo(series, kill), {}, "oom_kill"});
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line& a, const Line& b) { return a.ago > b.ago; });
    std::string csv = "seconds_ago,footprint_kib,event\n";
    for (const Line& line : lines) {
        csv += seconds(line.ago) + "," + line.footprint + "," + line.event + "\n";
    }
    return csv;
}

} // namespace velmora
