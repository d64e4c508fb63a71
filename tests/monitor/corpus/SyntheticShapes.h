// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MemoryTrace.h"

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace velmora {

constexpr double kMinute = 60;

// Uniform numbers from a fixed generator, independent of the standard library's distributions.
class Noise {
public:
    explicit Noise(uint32_t seed) : engine_(seed) {}
    double uniform() { return static_cast<double>(engine_()) / 4294967296.0; }
    double between(double low, double high) { return low + (high - low) * uniform(); }
    double symmetric(double amplitude) { return between(-amplitude, amplitude); }

private:
    std::mt19937 engine_;
};

struct Shape {
    std::function<double(double seconds, Noise& noise)> mib; // footprint in MiB at a moment
    double busyShare = 0.3;                                  // CPU share used
    double jitterShare = 0.002;                              // sample noise, share of footprint
};

// One sample a second for `minutes`, with a fixed seed drawn from the name.
MemoryTrace build(std::string name, std::string behaviour, bool leak, double minutes, Shape shape);

std::string mb(double value);

// A sawtooth that rises over `riseMinutes` (varied by jitter each cycle) by `amplitude`, then
// drops back to its floor, which rises by `floorRate` MiB per minute.
std::function<double(double, Noise&)> sawtooth(double floor, double amplitude, double riseMinutes,
                                               double floorRate);

// Minutes from the onset of steady growth by which a leak must be suspect: once the growth has
// lasted 6 minutes and added 5 % of the footprint, 2 minutes more. Slower growth than 2 MB/min
// has no such deadline.
std::optional<double> steadyGrowthDeadline(double ratePerMinute, double baseMiB);

// A family of several processes: at each second, the members alive and their footprints.
struct MemberLevel {
    uint32_t id = 0; // never reused within a trace
    double mib = 0;
};
struct FamilyShape {
    std::function<std::vector<MemberLevel>(double seconds, Noise& noise)> members;
    double busyShare = 0.3; // CPU share used by the whole family
    double jitterShare = 0.002;
};

// One sample a second for `minutes`, each with its members; the family's footprint is theirs.
MemoryTrace buildFamily(std::string name, std::string behaviour, bool leak, double minutes,
                        FamilyShape shape);

void addNotLeaks(std::vector<MemoryTrace>& out);
void addLeaks(std::vector<MemoryTrace>& out);
// Memory kept in shared memory (memfd, /dev/shm): leaks, and large or churning pools that are not.
void addSharedMemory(std::vector<MemoryTrace>& out);
// Families whose members come and go, with and without one long-lived member that grows.
void addChurningFamilies(std::vector<MemoryTrace>& out);
// Growth that stops by itself: a warm-up, a job, a cache filling to its bound.
void addBoundedGrowth(std::vector<MemoryTrace>& out);

} // namespace velmora
