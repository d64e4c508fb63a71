// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/families/SmokeTargets.h"

#include "model/JsonText.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace velmora {
namespace {

std::optional<pid_t> pidFrom(const Json& object, const char* key) {
    auto it = object.find(key);
    if (it == object.end()) {
        return std::nullopt;
    }
    const Json* value = &*it;
    if (value->is_object()) {
        auto pid = value->find("pid");
        if (pid == value->end()) {
            return std::nullopt;
        }
        value = &*pid;
    }
    if (value->is_string()) {
        try {
            long parsed = std::stol(value->get<std::string>());
            return parsed > 1 ? std::optional<pid_t>(static_cast<pid_t>(parsed)) : std::nullopt;
        } catch (...) {
            return std::nullopt;
        }
    }
    if (value->is_number_integer()) {
        auto parsed = value->get<int64_t>();
        if (parsed > 1 && parsed < (1 << 30)) {
            return static_cast<pid_t>(parsed);
        }
    }
    return std::nullopt;
}

} // namespace

SmokeTargetPids parseSmokeTargets(const std::string& text) {
    SmokeTargetPids pids;
    auto parsed = parseJsonText(text);
    if (!parsed || !parsed.value().is_object()) {
        return pids;
    }
    const Json& json = parsed.value();
    pids.recovery = pidFrom(json, "recovery");
    pids.restart = pidFrom(json, "restart");
    return pids;
}

SmokeTargets::SmokeTargets(std::string path) : path_(std::move(path)) {}

const SmokeTargetPids& SmokeTargets::current() {
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0) {
        present_ = false;
        pids_ = {};
        return pids_;
    }
    if (present_ && info.st_mtim.tv_sec == modified_.tv_sec &&
        info.st_mtim.tv_nsec == modified_.tv_nsec) {
        return pids_;
    }
    present_ = true;
    modified_ = info.st_mtim;
    std::ifstream file(path_);
    std::stringstream text;
    text << file.rdbuf();
    pids_ = parseSmokeTargets(text.str());
    return pids_;
}

} // namespace velmora
