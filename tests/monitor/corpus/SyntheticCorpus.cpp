#include "SyntheticCorpus.h"

#include "SyntheticShapes.h"

#include <algorithm>
#include <cmath>
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

} // namespace

MemoryTrace build(std::string name, std::string behaviour, bool leak, double minutes, Shape shape) {
    MemoryTrace trace;
    trace.behaviour = std::move(behaviour);
    trace.leak = leak;
    Noise noise(seedOf(name));
    trace.name = std::move(name);
    double cpu = 0;
    for (double s = 0; s < minutes * kMinute; s += 1) {
        double mib = shape.mib(s, noise);
        mib *= 1 + noise.symmetric(shape.jitterShare);
        cpu += shape.busyShare * 100 * noise.between(0.5, 1.5);
        trace.points.push_back(
            {s, static_cast<uint64_t>(std::max(mib, 1.0) * 1024), static_cast<uint64_t>(cpu)});
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
    return corpus;
}

} // namespace velmora
