// SPDX-License-Identifier: GPL-3.0-or-later
#include "SyntheticCorpus.h"

#include "SyntheticShapes.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

namespace velmora {
namespace {

uint32_t seedOf(const std::string& name) {
    uint32_t hash = 2166136261u;
    for (char c : name) {
        hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
    }
    return hash;
}

MemoryTrace named(std::string name, std::string behaviour, bool leak) {
    MemoryTrace trace;
    trace.name = std::move(name);
    trace.behaviour = std::move(behaviour);
    trace.leak = leak;
    return trace;
}

} // namespace

MemoryTrace build(std::string name, std::string behaviour, bool leak, double minutes, Shape shape) {
    MemoryTrace trace = named(std::move(name), std::move(behaviour), leak);
    Noise noise(seedOf(trace.name));
    double cpu = 0;
    for (double s = 0; s < minutes * kMinute; s += 1) {
        double mib = shape.mib(s, noise);
        mib *= 1 + noise.symmetric(shape.jitterShare);
        cpu += shape.busyShare * 100 * noise.between(0.5, 1.5);
        trace.points.push_back(
            {s, static_cast<uint64_t>(std::max(mib, 1.0) * 1024), static_cast<uint64_t>(cpu), {}});
    }
    return trace;
}

MemoryTrace buildFamily(std::string name, std::string behaviour, bool leak, double minutes,
                        FamilyShape shape) {
    MemoryTrace trace = named(std::move(name), std::move(behaviour), leak);
    Noise noise(seedOf(trace.name));
    std::map<uint32_t, double> cpu; // each member's CPU ticks so far
    for (double s = 0; s < minutes * kMinute; s += 1) {
        TracePoint point{s, 0, 0, {}};
        std::vector<MemberLevel> members = shape.members(s, noise);
        for (const MemberLevel& member : members) {
            double mib = std::max(member.mib * (1 + noise.symmetric(shape.jitterShare)), 1.0);
            double& used = cpu[member.id];
            used += shape.busyShare * 100 * noise.between(0.5, 1.5) /
                    static_cast<double>(members.size());
            auto kib = static_cast<uint64_t>(mib * 1024);
            point.members.push_back({member.id, kib, static_cast<uint64_t>(used)});
            point.footprintKiB += kib;
            point.cpuTicks += static_cast<uint64_t>(used); // as the sampler: its live members'
        }
        trace.points.push_back(std::move(point));
    }
    return trace;
}

std::string mb(double value) {
    return std::to_string(static_cast<int>(std::lround(value)));
}

std::function<double(double, Noise&)> sawtooth(double floor, double amplitude, double riseMinutes,
                                               double floorRate) {
    struct Cycle {
        double start = 0, length = 0, height = 0;
    };
    auto cycle = std::make_shared<Cycle>();
    return [=](double s, Noise& noise) {
        if (s >= cycle->start + cycle->length) {
            cycle->start = s;
            cycle->length = riseMinutes * kMinute * noise.between(0.8, 1.2);
            cycle->height = amplitude * noise.between(0.85, 1.15);
        }
        double phase = (s - cycle->start) / cycle->length;
        return floor + floorRate * s / kMinute + cycle->height * phase;
    };
}

std::optional<double> steadyGrowthDeadline(double ratePerMinute, double baseMiB) {
    if (ratePerMinute < 2) {
        return std::nullopt;
    }
    return std::max(6.0, 0.05 * baseMiB / ratePerMinute) + 2;
}

std::vector<MemoryTrace> syntheticCorpus() {
    std::vector<MemoryTrace> corpus;
    addNotLeaks(corpus);
    addLeaks(corpus);
    addSharedMemory(corpus);
    addChurningFamilies(corpus);
    addBoundedGrowth(corpus);
    return corpus;
}

} // namespace velmora
