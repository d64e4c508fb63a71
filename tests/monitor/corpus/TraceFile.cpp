// SPDX-License-Identifier: GPL-3.0-or-later
#include "MemoryTrace.h"

#include <fstream>
#include <sstream>

namespace velmora {
namespace {

bool readHeader(const std::string& line, MemoryTrace& trace, std::string& error) {
    auto colon = line.find(':');
    if (colon == std::string::npos) {
        return true; // a comment
    }
    std::string key = line.substr(2, colon - 2);
    std::string value = line.substr(colon + 1);
    value.erase(0, value.find_first_not_of(' '));
    if (key == "name") {
        trace.name = value;
    } else if (key == "class") {
        trace.behaviour = value;
    } else if (key == "truth") {
        if (value != "leak" && value != "notLeak" && value != "bounded") {
            error = "truth: unknown value \"" + value + "\"";
            return false;
        }
        trace.leak = value == "leak";
        trace.bounded = value == "bounded";
    } else if (key == "onset") {
        trace.onsetSeconds = std::stod(value);
    } else if (key == "deadline") {
        trace.deadlineSeconds = std::stod(value);
    } else if (key == "settled" && std::stod(value) > 0) {
        trace.settledAfter = std::stod(value);
    } else if (key == "seen") {
        if (value != "birth" && value != "midLife") {
            error = "seen: unknown value \"" + value + "\"";
            return false;
        }
        trace.fromBirth = value == "birth";
    } else if (key == "available" && std::stod(value) > 0) {
        trace.availableKiB = static_cast<uint64_t>(std::stod(value));
    }
    return true;
}

// "id:footprint_kib:cpu_ticks"
bool readMember(const std::string& field, MemberPoint& member) {
    char colon1 = 0;
    char colon2 = 0;
    std::istringstream in(field);
    return (in >> member.id >> colon1 >> member.footprintKiB >> colon2 >> member.cpuTicks) &&
           colon1 == ':' && colon2 == ':' && in.peek() == std::char_traits<char>::eof();
}

const char* truthOf(const MemoryTrace& trace) {
    return trace.leak ? "leak" : trace.bounded ? "bounded" : "notLeak";
}

} // namespace

std::optional<MemoryTrace> readTraceFile(const std::string& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot be read";
        return std::nullopt;
    }
    MemoryTrace trace;
    std::string line;
    int number = 0;
    try {
        while (std::getline(in, line)) {
            ++number;
            if (line.empty()) {
                continue;
            }
            if (line[0] == '#') {
                if (line.size() > 2 && !readHeader(line, trace, error)) {
                    error = path + ":" + std::to_string(number) + ": " + error;
                    return std::nullopt;
                }
                continue;
            }
            std::istringstream fields(line);
            TracePoint point;
            if (!(fields >> point.seconds >> point.footprintKiB >> point.cpuTicks)) {
                error = path + ":" + std::to_string(number) + ": expected three numbers";
                return std::nullopt;
            }
            for (std::string field; fields >> field;) {
                MemberPoint member;
                if (!readMember(field, member)) {
                    error = path + ":" + std::to_string(number) + ": member \"" + field +
                            "\" is not id:footprint_kib:cpu_ticks";
                    return std::nullopt;
                }
                point.members.push_back(member);
            }
            trace.points.push_back(point);
        }
    } catch (const std::exception&) {
        error = path + ":" + std::to_string(number) + ": not a number";
        return std::nullopt;
    }
    if (trace.name.empty() || trace.points.empty()) {
        error = path + ": no name or no samples";
        return std::nullopt;
    }
    return trace;
}

void writeTraceFile(const MemoryTrace& trace, const std::string& path) {
    std::ofstream out(path);
    out << "# velmora memory trace\n# name: " << trace.name << "\n# class: " << trace.behaviour
        << "\n# truth: " << truthOf(trace) << "\n# onset: " << trace.onsetSeconds
        << "\n# deadline: " << trace.deadlineSeconds
        << "\n# settled: " << trace.settledAfter.value_or(0)
        << "\n# seen: " << (trace.fromBirth ? "birth" : "midLife")
        << "\n# available: " << trace.availableKiB.value_or(0)
        << "\n# columns: seconds footprint_kib cpu_ticks [id:footprint_kib:cpu_ticks ...]\n";
    for (const TracePoint& p : trace.points) {
        out << p.seconds << ' ' << p.footprintKiB << ' ' << p.cpuTicks;
        for (const MemberPoint& m : p.members) {
            out << ' ' << m.id << ':' << m.footprintKiB << ':' << m.cpuTicks;
        }
        out << '\n';
    }
}

} // namespace velmora
