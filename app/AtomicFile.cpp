#include "app/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace velmora {
namespace {

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path) {
    throw std::system_error(errno, std::generic_category(), what + " " + path.string());
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

void writeAll(int fd, std::string_view content, const std::filesystem::path& path) {
    while (!content.empty()) {
        const auto written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("cannot write", path);
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
}

} // namespace

void writeFileAtomically(const std::filesystem::path& path, std::string_view content) {
    auto temporary = path;
    temporary += ".new";
    FileDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (file.get() < 0) {
        fail("cannot create", temporary);
    }
    try {
        writeAll(file.get(), content, temporary);
        if (::fsync(file.get()) != 0) {
            fail("cannot flush", temporary);
        }
        if (::close(file.release()) != 0) {
            fail("cannot close", temporary);
        }
        if (::rename(temporary.c_str(), path.c_str()) != 0) {
            fail("cannot replace", path);
        }
    } catch (...) {
        const int saved = errno;
        ::unlink(temporary.c_str());
        errno = saved;
        throw;
    }
    auto directory = path.parent_path();
    if (directory.empty()) {
        directory = ".";
    }
    FileDescriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) {
        // The rename is done; a directory that cannot be flushed (some file systems refuse)
        // does not undo it.
        ::fsync(dir.get());
    }
}

} // namespace velmora
