// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PrivateFolder.h"

#include "base/UniqueFd.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

constexpr mode_t privateMode = 0700;

std::string octal(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

std::string openingProblem(const std::filesystem::path& path, int code) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        return path.string() + " is a link, not a folder of this user";
    }
    if (code == ENOTDIR) {
        return path.string() + " is not a folder";
    }
    return "cannot open " + path.string() + ": " + std::strerror(code);
}

} // namespace

std::optional<std::string> privateFolderProblem(const std::filesystem::path& path) {
    const std::string folder = path.string();
    // mkdir never follows a link and fails on anything already there: a folder it makes is ours.
    const bool created = ::mkdir(path.c_str(), privateMode) == 0;
    if (!created && errno != EEXIST) {
        return "cannot create " + folder + ": " + std::strerror(errno);
    }
    const UniqueFd opened(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!opened.valid()) {
        return openingProblem(path, errno);
    }
    struct stat info {};
    if (::fstat(opened.get(), &info) != 0) {
        return "cannot read " + folder + ": " + std::strerror(errno);
    }
    if (info.st_uid != ::geteuid()) {
        return folder + " belongs to another user (uid " + std::to_string(info.st_uid) + ")";
    }
    if (created && (info.st_mode & 07777) != privateMode) {
        ::fchmod(opened.get(), privateMode); // the umask took more than asked
        ::fstat(opened.get(), &info);
    }
    if ((info.st_mode & 07777) != privateMode) {
        return folder + " is not private (mode " + octal(info.st_mode) + ", not 0700)";
    }
    return std::nullopt;
}

} // namespace velmora
