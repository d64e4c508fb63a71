#include "base/AtomicFile.h"

#include "base/DescriptorIo.h"
#include "base/FileTimes.h"
#include "base/UniqueFd.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace velmora {
namespace {

FileError failure(const std::string& step, const std::filesystem::path& path) {
    const int code = errno;
    return FileError{"Could not " + step + " " + path.string() + ": " + std::strerror(code), code};
}

// Writes, flushes and closes the temporary file.
std::optional<FileError> fill(UniqueFd file, const std::filesystem::path& temporary,
                              std::string_view content, std::optional<int64_t> modificationTimeMs) {
    if (!writeAll(file.get(), content)) {
        return failure("write", temporary);
    }
    if (modificationTimeMs) {
        setModificationTimeMs(file.get(), *modificationTimeMs);
    }
    if (::fsync(file.get()) != 0) {
        return failure("flush", temporary);
    }
    if (::close(file.release()) != 0) {
        return failure("close", temporary);
    }
    return std::nullopt;
}

void syncFolderOf(const std::filesystem::path& path) {
    auto folder = path.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    const UniqueFd directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.valid()) {
        ::fsync(directory.get()); // some file systems refuse; the rename is done all the same
    }
}

} // namespace

std::optional<FileError> writeFileAtomically(const std::filesystem::path& path,
                                             std::string_view content, mode_t permissions,
                                             std::optional<int64_t> modificationTimeMs) {
    auto temporary = path;
    temporary += ".tmp-" + std::to_string(::getpid());
    UniqueFd file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, permissions));
    if (!file.valid()) {
        return failure("create", temporary);
    }
    auto failed = fill(std::move(file), temporary, content, modificationTimeMs);
    if (!failed && ::rename(temporary.c_str(), path.c_str()) != 0) {
        failed = failure("replace", path);
    }
    if (failed) {
        ::unlink(temporary.c_str());
        return failed;
    }
    syncFolderOf(path);
    return std::nullopt;
}

} // namespace velmora
