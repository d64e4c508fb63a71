// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/proc/ProcRoot.h"

#include "base/DescriptorIo.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

void pidPath(char* out, std::size_t size, pid_t pid, const char* name) {
    std::snprintf(out, size, "%d/%s", static_cast<int>(pid), name);
}

} // namespace

ProcRoot::ProcRoot(const std::string& path)
    : path_(path), fd_(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

ProcRoot::~ProcRoot() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::vector<pid_t> ProcRoot::listPids() {
    return numericEntries(".");
}

std::vector<int> ProcRoot::listDescriptors(pid_t pid) const {
    char path[32];
    pidPath(path, sizeof path, pid, "fd");
    return numericEntries(path);
}

std::vector<int> ProcRoot::numericEntries(const char* directory) const {
    std::vector<int> numbers;
    int dirFd = ::openat(fd_, directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        return numbers;
    }
    DIR* dir = ::fdopendir(dirFd);
    if (dir == nullptr) {
        ::close(dirFd);
        return numbers;
    }
    while (dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] < '0' || name[0] > '9' || (name[0] == '0' && name[1] != '\0')) {
            continue;
        }
        long value = 0;
        bool numeric = true;
        for (const char* c = name; *c != '\0'; ++c) {
            if (*c < '0' || *c > '9' || value > 0x3fffffff) {
                numeric = false;
                break;
            }
            value = value * 10 + (*c - '0');
        }
        if (numeric) {
            numbers.push_back(static_cast<int>(value));
        }
    }
    ::closedir(dir);
    return numbers;
}

int ProcRoot::openPidFile(pid_t pid, const char* name) const {
    char path[64];
    pidPath(path, sizeof path, pid, name);
    return ::openat(fd_, path, O_RDONLY | O_CLOEXEC);
}

int ProcRoot::openFile(const char* name) const {
    return ::openat(fd_, name, O_RDONLY | O_CLOEXEC);
}

long ProcRoot::readOnce(int fd, char* buf, std::size_t capacity) {
    if (capacity == 0) {
        return -1;
    }
    ssize_t n = ::pread(fd, buf, capacity - 1, 0);
    if (n < 0) {
        buf[0] = '\0';
        return -1;
    }
    buf[n] = '\0';
    return static_cast<long>(n);
}

long ProcRoot::readPidFile(pid_t pid, const char* name, char* buf, std::size_t capacity) const {
    int fd = openPidFile(pid, name);
    if (fd < 0) {
        return -1;
    }
    long n = readOnce(fd, buf, capacity);
    int saved = errno;
    ::close(fd);
    errno = saved;
    return n;
}

long ProcRoot::readFile(const char* name, char* buf, std::size_t capacity) const {
    int fd = openFile(name);
    if (fd < 0) {
        return -1;
    }
    long n = readOnce(fd, buf, capacity);
    ::close(fd);
    return n;
}

std::optional<std::string> ProcRoot::readWholePidFile(pid_t pid, const char* name,
                                                      std::size_t limit) const {
    int fd = openPidFile(pid, name);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string out;
    const bool whole = readToEnd(fd, out, limit);
    ::close(fd);
    if (!whole && out.empty()) {
        return std::nullopt;
    }
    return out;
}

std::optional<std::string> ProcRoot::readLink(pid_t pid, const char* name) const {
    char path[64];
    pidPath(path, sizeof path, pid, name);
    char target[4096];
    ssize_t n = ::readlinkat(fd_, path, target, sizeof target);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof target) {
        return std::nullopt;
    }
    return std::string(target, static_cast<std::size_t>(n));
}

bool ProcRoot::statPidFile(pid_t pid, const char* name, struct stat& info) const {
    char path[64];
    pidPath(path, sizeof path, pid, name);
    return ::fstatat(fd_, path, &info, 0) == 0;
}

std::optional<uid_t> ProcRoot::ownerOf(pid_t pid) const {
    char path[32];
    std::snprintf(path, sizeof path, "%d", static_cast<int>(pid));
    struct stat info {};
    if (::fstatat(fd_, path, &info, 0) != 0) {
        return std::nullopt;
    }
    return info.st_uid;
}

} // namespace velmora
