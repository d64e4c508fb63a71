// SPDX-License-Identifier: GPL-3.0-or-later
#include "TraceViews.h"

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

constexpr double kMidLifeCutSeconds = 180;

uint32_t hashOf(std::string_view text) {
    uint32_t hash = 2166136261u;
    for (char c : text) {
        hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
    }
    return hash;
}

// Fraction in [0, 1) drawn from a name: fixed for a trace, different between traces.
double fractionOf(std::string_view text) {
    return static_cast<double>(hashOf(text) % 10007) / 10007.0;
}

// The members of a sample with each footprint scaled: the start-up of those alive then.
std::vector<MemberPoint> scaledMembers(std::vector<MemberPoint> members, double factor) {
    for (MemberPoint& member : members) {
        member.footprintKiB =
            static_cast<uint64_t>(static_cast<double>(member.footprintKiB) * std::min(factor, 1.0));
        member.cpuTicks = 0;
    }
    return members;
}

MemoryTrace withStartUp(const MemoryTrace& trace) {
    MemoryTrace out = trace;
    out.fromBirth = true;
    out.points.clear();
    const TracePoint& first = trace.points.front();
    const double ramp = 2 + 58 * fractionOf(trace.name + "/ramp");
    const double bornKiB = (2 + 6 * fractionOf(trace.name + "/born")) * 1024;
    const double targetKiB = static_cast<double>(first.footprintKiB);
    for (double s = 0; s < ramp; s += 1) {
        // Quick at first, slowing as the working set is reached: libraries, then heaps.
        double x = s / ramp;
        double kib = bornKiB + (std::max(targetKiB, bornKiB) - bornKiB) * (1 - (1 - x) * (1 - x));
        out.points.push_back({s, static_cast<uint64_t>(kib), static_cast<uint64_t>(s * 80),
                              scaledMembers(first.members, kib / std::max(targetKiB, 1.0))});
    }
    const double offset = std::ceil(ramp);
    const auto startupTicks = static_cast<uint64_t>(offset * 80);
    for (const TracePoint& p : trace.points) {
        out.points.push_back(
            {p.seconds + offset, p.footprintKiB, p.cpuTicks + startupTicks, p.members});
    }
    out.onsetSeconds += offset;
    out.deadlineSeconds += offset;
    if (out.settledAfter) {
        *out.settledAfter += offset;
    }
    return out;
}

MemoryTrace withoutStartUp(const MemoryTrace& trace) {
    MemoryTrace out = trace;
    out.fromBirth = false;
    out.points.clear();
    auto from = std::find_if(trace.points.begin(), trace.points.end(),
                             [](const TracePoint& p) { return p.seconds >= kMidLifeCutSeconds; });
    if (from == trace.points.end()) {
        return out;
    }
    const TracePoint start = *from;
    for (auto it = from; it != trace.points.end(); ++it) {
        out.points.push_back({it->seconds - start.seconds, it->footprintKiB,
                              it->cpuTicks - start.cpuTicks, it->members});
    }
    const double warning = trace.deadlineSeconds - trace.onsetSeconds;
    out.onsetSeconds = std::max(0.0, trace.onsetSeconds - start.seconds);
    out.deadlineSeconds = out.onsetSeconds + warning;
    if (out.settledAfter) {
        *out.settledAfter = std::max(0.0, *out.settledAfter - start.seconds);
    }
    if (out.availableKiB) {
        // What the family grew before the cut is gone from the machine's reserve.
        auto grown = start.footprintKiB > trace.points.front().footprintKiB
                         ? start.footprintKiB - trace.points.front().footprintKiB
                         : 0;
        *out.availableKiB -= std::min(*out.availableKiB, grown);
    }
    return out;
}

} // namespace

std::string_view viewName(TraceView view) {
    return view == TraceView::birth ? "birth" : "mid-life";
}

MemoryTrace viewOf(const MemoryTrace& trace, TraceView view) {
    if (trace.points.empty() || trace.fromBirth == (view == TraceView::birth)) {
        return trace;
    }
    return view == TraceView::birth ? withStartUp(trace) : withoutStartUp(trace);
}

double clockPhaseOf(const MemoryTrace& trace, TraceView view) {
    return std::floor(60 * fractionOf(trace.name + "/" + std::string(viewName(view))));
}

} // namespace velmora
