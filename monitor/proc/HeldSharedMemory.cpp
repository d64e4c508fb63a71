// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/proc/HeldSharedMemory.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace velmora {
namespace {

constexpr std::size_t kMapsLimit = 8 * 1024 * 1024;

std::string descriptorName(int descriptor) {
    return "fd/" + std::to_string(descriptor);
}

uint64_t allocatedKiB(const struct stat& info) {
    return static_cast<uint64_t>(info.st_blocks) / 2; // 512-byte blocks
}

// The fifth field of a maps line (the inode) and what follows it (the path).
bool splitMapsLine(std::string_view line, uint64_t& inode, std::string_view& path) {
    std::size_t pos = 0;
    for (int field = 0; field < 4; ++field) {
        pos = line.find(' ', pos);
        if (pos == std::string_view::npos) {
            return false;
        }
        ++pos;
    }
    auto [end, ec] = std::from_chars(line.data() + pos, line.data() + line.size(), inode);
    if (ec != std::errc{}) {
        return false;
    }
    path = line.substr(static_cast<std::size_t>(end - line.data()));
    std::size_t start = path.find_first_not_of(' ');
    path = start == std::string_view::npos ? std::string_view{} : path.substr(start);
    return true;
}

} // namespace

bool isSharedMemoryTarget(std::string_view target) {
    return target.rfind("/memfd:", 0) == 0 || target.rfind("/dev/shm/", 0) == 0;
}

std::vector<uint64_t> mappedSharedInodes(std::string_view maps) {
    std::vector<uint64_t> inodes;
    std::size_t pos = 0;
    while (pos < maps.size()) {
        std::size_t nl = maps.find('\n', pos);
        std::string_view line =
            maps.substr(pos, nl == std::string_view::npos ? maps.size() - pos : nl - pos);
        uint64_t inode = 0;
        std::string_view path;
        if (splitMapsLine(line, inode, path) && inode != 0 && isSharedMemoryTarget(path)) {
            inodes.push_back(inode);
        }
        if (nl == std::string_view::npos) {
            break;
        }
        pos = nl + 1;
    }
    std::sort(inodes.begin(), inodes.end());
    inodes.erase(std::unique(inodes.begin(), inodes.end()), inodes.end());
    return inodes;
}

std::optional<uint64_t> descriptorCount(const ProcRoot& root, pid_t pid) {
    struct stat info {};
    if (!root.statPidFile(pid, "fd", info) || !S_ISDIR(info.st_mode) || info.st_size <= 0) {
        return std::nullopt;
    }
    return static_cast<uint64_t>(info.st_size);
}

std::vector<HeldSharedFile> readHeldSharedFiles(const ProcRoot& root, pid_t pid,
                                                PassStatistics& stats) {
    std::vector<HeldSharedFile> held;
    ++stats.descriptorScans;
    for (int descriptor : root.listDescriptors(pid)) {
        std::string name = descriptorName(descriptor);
        auto target = root.readLink(pid, name.c_str());
        if (!target || !isSharedMemoryTarget(*target)) {
            continue;
        }
        struct stat info {};
        if (!root.statPidFile(pid, name.c_str(), info) || !S_ISREG(info.st_mode)) {
            continue;
        }
        HeldSharedFile file{descriptor, static_cast<uint64_t>(info.st_dev),
                            static_cast<uint64_t>(info.st_ino), allocatedKiB(info)};
        bool again = std::any_of(held.begin(), held.end(),
                                 [&](const HeldSharedFile& other) { return other.sameFile(file); });
        if (!again) {
            held.push_back(file);
        }
    }
    if (held.empty()) {
        return held;
    }
    // What it maps is counted in its resident figures already.
    auto maps = root.readWholePidFile(pid, "maps", kMapsLimit);
    ++stats.maps;
    std::vector<uint64_t> mapped = maps ? mappedSharedInodes(*maps) : std::vector<uint64_t>{};
    std::erase_if(held, [&](const HeldSharedFile& file) {
        return std::binary_search(mapped.begin(), mapped.end(), file.inode);
    });
    return held;
}

bool refreshHeldSharedFiles(const ProcRoot& root, pid_t pid, std::vector<HeldSharedFile>& files,
                            PassStatistics& stats) {
    for (HeldSharedFile& file : files) {
        struct stat info {};
        ++stats.heldSharedFiles;
        if (!root.statPidFile(pid, descriptorName(file.descriptor).c_str(), info) ||
            static_cast<uint64_t>(info.st_dev) != file.device ||
            static_cast<uint64_t>(info.st_ino) != file.inode) {
            return false;
        }
        file.kib = allocatedKiB(info);
    }
    return true;
}

} // namespace velmora
