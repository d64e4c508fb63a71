// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/AtomicFile.h"

#include "base/DescriptorIo.h"
#include "base/FileTimes.h"
#include "base/UniqueFd.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <stdio.h>
#include <unistd.h>

namespace velmora {
namespace {

// Names taken by someone else in a row before giving up: with 71 random bits each, only a
// folder that answers every name with "exists" gets that far.
constexpr int maxNameAttempts = 16;

FileError failure(const std::string& step, const std::filesystem::path& path) {
    const int code = errno;
    return FileError{"Could not " + step + " " + path.string() + ": " + std::strerror(code), code};
}

// "<name>.tmp-" and twelve letters or digits nobody can guess.
std::string temporaryName(const std::filesystem::path& path) {
    static constexpr char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 2);
    std::string name = path.filename().string() + ".tmp-";
    for (int i = 0; i < 12; ++i) {
        name += alphabet[pick(random)];
    }
    return name;
}

// The folder the file lives in, opened once so that every step happens in that very folder.
UniqueFd openFolderOf(const std::filesystem::path& path) {
    auto folder = path.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    return UniqueFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

// A new file of our own in `folder`: created exclusively, so that nothing already there (a
// link planted at a name, a file of someone else) is ever opened, followed or truncated.
UniqueFd createTemporary(int folder, const std::filesystem::path& path, mode_t permissions,
                         std::string& name) {
    for (int attempt = 0; attempt < maxNameAttempts; ++attempt) {
        name = temporaryName(path);
        UniqueFd file(::openat(folder, name.c_str(),
                               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, permissions));
        if (file.valid() || errno != EEXIST) {
            return file;
        }
    }
    return UniqueFd();
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

} // namespace

std::optional<FileError> writeFileAtomically(const std::filesystem::path& path,
                                             std::string_view content, mode_t permissions,
                                             std::optional<int64_t> modificationTimeMs) {
    std::string name = temporaryName(path);
    const UniqueFd folder = openFolderOf(path);
    UniqueFd file =
        folder.valid() ? createTemporary(folder.get(), path, permissions, name) : UniqueFd();
    const int createError = errno;
    const auto temporary = path.parent_path() / name;
    if (!file.valid()) {
        errno = createError;
        return failure("create", temporary);
    }
    auto failed = fill(std::move(file), temporary, content, modificationTimeMs);
    if (!failed &&
        ::renameat(folder.get(), name.c_str(), folder.get(), path.filename().c_str()) != 0) {
        failed = failure("replace", path);
    }
    if (failed) {
        ::unlinkat(folder.get(), name.c_str(), 0);
        return failed;
    }
    ::fsync(folder.get()); // some file systems refuse; the rename is done all the same
    return std::nullopt;
}

} // namespace velmora
