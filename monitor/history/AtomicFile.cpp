#include "monitor/history/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

Failure systemFailure(const std::string& what, const std::filesystem::path& path) {
    return Failure{what + " " + path.string() + ": " + std::strerror(errno)};
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool syncDirectory(const std::filesystem::path& directory) {
    int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

Outcome<uint64_t> writeFileAtomically(const std::filesystem::path& path, std::string_view content,
                                      int64_t mtimeMs) {
    std::filesystem::path temporary = path;
    temporary += ".tmp-" + std::to_string(::getpid());
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return systemFailure("Could not create", temporary);
    }
    bool written = writeAll(fd, content) && ::fsync(fd) == 0;
    int savedErrno = errno;
    ::close(fd);
    if (!written) {
        ::unlink(temporary.c_str());
        errno = savedErrno;
        return systemFailure("Could not write", temporary);
    }
    setModificationTimeMs(temporary, mtimeMs);
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        Failure failure = systemFailure("Could not save", path);
        ::unlink(temporary.c_str());
        return failure;
    }
    if (!syncDirectory(path.parent_path())) {
        return systemFailure("Could not sync the folder of", path);
    }
    return static_cast<uint64_t>(content.size());
}

std::optional<int64_t> modificationTimeMs(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<int64_t>(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1'000'000;
}

bool setModificationTimeMs(const std::filesystem::path& path, int64_t mtimeMs) {
    struct timespec times[2];
    times[0].tv_sec = static_cast<time_t>(mtimeMs / 1000);
    times[0].tv_nsec = static_cast<long>(mtimeMs % 1000) * 1'000'000;
    times[1] = times[0];
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

} // namespace velmora
