// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/ProcessEvidence.h"

#include "base/Utf8.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace velmora {

namespace {

std::optional<std::string> readWhole(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes.str();
}

std::string joinedArguments(std::string raw) {
    while (!raw.empty() && raw.back() == '\0') {
        raw.pop_back();
    }
    std::replace(raw.begin(), raw.end(), '\0', ' ');
    return utf8::withInvalidReplaced(raw);
}

bool isMappingHeader(const std::string& line) {
    if (line.empty() || !std::isxdigit(static_cast<unsigned char>(line[0])) ||
        std::isupper(static_cast<unsigned char>(line[0]))) {
        return false;
    }
    auto dash = line.find('-');
    return dash != std::string::npos && dash < line.find(' ');
}

AnonymousMapping mappingFrom(const std::string& header) {
    std::istringstream fields(header);
    AnonymousMapping mapping;
    std::string offset, device, inode;
    fields >> mapping.range >> mapping.permissions >> offset >> device >> inode;
    std::getline(fields >> std::ws, mapping.name);
    mapping.name = utf8::withInvalidReplaced(mapping.name);
    return mapping;
}

// "Anonymous:      1024 kB" -> bytes, when the line starts with `field`.
std::optional<uint64_t> kilobytesField(const std::string& line, std::string_view field) {
    if (line.compare(0, field.size(), field) != 0) {
        return std::nullopt;
    }
    std::istringstream value(line.substr(field.size()));
    uint64_t kilobytes = 0;
    if (!(value >> kilobytes)) {
        return std::nullopt;
    }
    return kilobytes * 1024;
}

} // namespace

std::vector<AnonymousMapping> largestAnonymousMappings(const std::string& smaps,
                                                       std::size_t maxMappings) {
    std::vector<AnonymousMapping> mappings;
    std::istringstream lines(smaps);
    std::string line;
    while (std::getline(lines, line)) {
        if (isMappingHeader(line)) {
            mappings.push_back(mappingFrom(line));
        } else if (!mappings.empty()) {
            if (auto rss = kilobytesField(line, "Rss:")) {
                mappings.back().residentBytes = *rss;
            } else if (auto anonymous = kilobytesField(line, "Anonymous:")) {
                mappings.back().anonymousBytes = *anonymous;
            }
        }
    }
    std::erase_if(mappings, [](const AnonymousMapping& m) { return m.anonymousBytes == 0; });
    std::stable_sort(mappings.begin(), mappings.end(), [](const auto& a, const auto& b) {
        return a.anonymousBytes > b.anonymousBytes;
    });
    if (mappings.size() > maxMappings) {
        mappings.resize(maxMappings);
    }
    return mappings;
}

std::optional<ProcessEvidence> readProcessEvidence(int pid, const std::filesystem::path& procRoot,
                                                   std::size_t maxMappings) {
    auto directory = procRoot / std::to_string(pid);
    auto commandLine = readWhole(directory / "cmdline");
    auto status = readWhole(directory / "status");
    if (!commandLine || !status) {
        return std::nullopt;
    }
    ProcessEvidence evidence;
    evidence.pid = pid;
    evidence.commandLine = joinedArguments(std::move(*commandLine));
    evidence.status = utf8::withInvalidReplaced(*status);
    evidence.smapsRollup =
        utf8::withInvalidReplaced(readWhole(directory / "smaps_rollup").value_or(""));
    evidence.largestAnonymousMappings =
        largestAnonymousMappings(readWhole(directory / "smaps").value_or(""), maxMappings);
    return evidence;
}

} // namespace velmora
