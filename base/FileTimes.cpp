// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FileTimes.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace velmora {
namespace {

struct FileTimes {
    explicit FileTimes(int64_t mtimeMs) {
        times[0].tv_sec = static_cast<time_t>(mtimeMs / 1000);
        times[0].tv_nsec = static_cast<long>(mtimeMs % 1000) * 1'000'000;
        times[1] = times[0];
    }
    timespec times[2];
};

} // namespace

std::optional<int64_t> modificationTimeMs(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<int64_t>(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1'000'000;
}

bool setModificationTimeMs(const std::filesystem::path& path, int64_t mtimeMs) {
    const FileTimes set(mtimeMs);
    return ::utimensat(AT_FDCWD, path.c_str(), set.times, 0) == 0;
}

bool setModificationTimeMs(int fd, int64_t mtimeMs) {
    const FileTimes set(mtimeMs);
    return ::futimens(fd, set.times) == 0;
}

} // namespace velmora
