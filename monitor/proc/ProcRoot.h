// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

namespace velmora {

// The /proc tree, reached through one directory descriptor that is opened once. Tests and
// benchmarks point it at a fake tree (plain files in the same layout). The cgroup tree
// (/sys/fs/cgroup) is read the same way.
class ProcRoot {
public:
    explicit ProcRoot(const std::string& path = "/proc");
    ~ProcRoot();
    ProcRoot(const ProcRoot&) = delete;
    ProcRoot& operator=(const ProcRoot&) = delete;

    bool ok() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

    // Numeric entries of the root, in directory order.
    std::vector<pid_t> listPids();
    // The descriptor numbers in "<pid>/fd" (empty when it cannot be listed).
    std::vector<int> listDescriptors(pid_t pid) const;

    // Opens "<pid>/<name>" read-only (close-on-exec); -1 with errno set on failure.
    int openPidFile(pid_t pid, const char* name) const;
    // Opens "<name>" below the root (e.g. "meminfo", "pressure/memory").
    int openFile(const char* name) const;

    // One pread at offset 0 of an open descriptor into buf (NUL-terminated); bytes or -1.
    static long readOnce(int fd, char* buf, std::size_t capacity);
    // Opens, reads once and closes.
    long readPidFile(pid_t pid, const char* name, char* buf, std::size_t capacity) const;
    long readFile(const char* name, char* buf, std::size_t capacity) const;
    // Reads a file that may need several reads (cmdline, environ, maps), up to limit bytes.
    std::optional<std::string> readWholePidFile(pid_t pid, const char* name,
                                                std::size_t limit) const;

    std::optional<std::string> readLink(pid_t pid, const char* name) const;
    // stat() of "<pid>/<name>", following a link ("fd/3" is the open file itself).
    bool statPidFile(pid_t pid, const char* name, struct stat& info) const;
    std::optional<uid_t> ownerOf(pid_t pid) const;

private:
    std::vector<int> numericEntries(const char* directory) const;

    std::string path_;
    int fd_ = -1;
};

} // namespace velmora
