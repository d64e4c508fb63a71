// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/config/MonitorPaths.h"

#include "base/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

std::string homeDirectory() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home == '/') {
        return home;
    }
    if (passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return "/tmp";
}

std::string xdgDir(const char* variable, const std::string& fallback) {
    const char* value = std::getenv(variable);
    // XDG base directories must be absolute; a relative value is ignored.
    if (value != nullptr && *value == '/') {
        return value;
    }
    return fallback;
}

std::string parentOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

MonitorPaths MonitorPaths::fromEnvironment() {
    MonitorPaths paths;
    paths.home = homeDirectory();
    paths.configDir = xdgDir("XDG_CONFIG_HOME", paths.home + "/.config") + "/velmora";
    paths.configFile = paths.configDir + "/config.json";
    paths.dataDir = xdgDir("XDG_DATA_HOME", paths.home + "/.local/share") + "/velmora";
    paths.artifactsDir = paths.dataDir + "/artifacts";
    paths.reportsDir = paths.dataDir + "/reports";
    paths.logsDir = paths.dataDir + "/logs";
    if (const char* targets = std::getenv("VELMORA_SELF_CHECK_TARGETS")) {
        paths.smokeTargetsFile = targets;
    }
    return paths;
}

std::string MonitorPaths::display(const std::string& path) const {
    if (!home.empty() && home != "/" && path.rfind(home, 0) == 0 &&
        (path.size() == home.size() || path[home.size()] == '/')) {
        std::string shown = "~";
        shown.append(path, home.size(), std::string::npos);
        return shown;
    }
    return path;
}

bool makeDirectories(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    std::string parent = parentOf(path);
    if (parent != path && !makeDirectories(parent)) {
        return false;
    }
    return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

bool saveFile(const std::string& path, const std::string& content, std::string& error,
              mode_t mode) {
    std::string dir = parentOf(path);
    if (!makeDirectories(dir)) {
        error = "Could not create " + dir + ": " + std::strerror(errno);
        return false;
    }
    if (auto failed = writeFileAtomically(path, content, mode)) {
        error = failed->message;
        return false;
    }
    return true;
}

} // namespace velmora
