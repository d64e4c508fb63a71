// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/families/FamilyResolver.h"

#include "monitor/common/DisplayText.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <unistd.h>

namespace velmora {
namespace {

std::string_view lastComponent(std::string_view path) {
    while (!path.empty() && path.back() == '/') {
        path.remove_suffix(1);
    }
    std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string unescapeUnit(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            out.push_back(static_cast<char>(
                std::strtol(std::string(name.substr(i + 2, 2)).c_str(), nullptr, 16)));
            i += 3;
        } else {
            out.push_back(name[i]);
        }
    }
    return out;
}

// "gnome-org.gnome.Terminal" names its launcher first; an id without dots has none.
std::string withoutLauncher(std::string_view name) {
    std::size_t dash = name.find('-');
    if (dash != std::string_view::npos) {
        std::string_view first = name.substr(0, dash);
        std::string_view rest = name.substr(dash + 1);
        if (first.find('.') == std::string_view::npos && rest.find('.') != std::string_view::npos) {
            return std::string(rest);
        }
    }
    return std::string(name);
}

std::optional<std::string> appIdFromUnit(std::string_view unit) {
    if (endsWith(unit, ".scope")) {
        if (unit.rfind("app-", 0) != 0) {
            return std::nullopt;
        }
        std::string_view name = unit.substr(4, unit.size() - 4 - 6);
        std::size_t dash = name.rfind('-');
        if (dash != std::string_view::npos && dash + 1 < name.size()) {
            name = name.substr(0, dash); // the random or numeric instance suffix
        }
        return name.empty() ? std::nullopt : std::optional(withoutLauncher(unescapeUnit(name)));
    }
    if (endsWith(unit, ".service")) {
        std::string_view name = unit.substr(0, unit.size() - 8);
        if (name.rfind("user@", 0) == 0 || name.rfind("user-runtime-dir@", 0) == 0) {
            return std::nullopt;
        }
        bool app = name.rfind("app-", 0) == 0;
        if (app) {
            name.remove_prefix(4);
        }
        std::size_t at = name.find('@');
        if (at != std::string_view::npos) {
            name = name.substr(0, at);
        }
        if (name.empty()) {
            return std::nullopt;
        }
        std::string id = unescapeUnit(name);
        return app ? withoutLauncher(id) : id;
    }
    return std::nullopt;
}

std::string shortPathName(const std::string& path) {
    return std::string(lastComponent(path));
}

} // namespace

std::optional<std::string> appIdFromCgroup(std::string_view cgroupText) {
    std::optional<std::string_view> unified;
    std::optional<std::string_view> legacy;
    std::size_t pos = 0;
    while (pos < cgroupText.size()) {
        std::size_t nl = cgroupText.find('\n', pos);
        std::string_view line = cgroupText.substr(
            pos, nl == std::string_view::npos ? cgroupText.size() - pos : nl - pos);
        if (line.rfind("0::", 0) == 0) {
            unified = line.substr(3);
        } else if (std::size_t at = line.find(":name=systemd:"); at != std::string_view::npos) {
            legacy = line.substr(at + 14);
        }
        if (nl == std::string_view::npos) {
            break;
        }
        pos = nl + 1;
    }
    for (auto path : {unified, legacy}) {
        if (path && path->size() > 1) {
            if (auto id = appIdFromUnit(lastComponent(*path))) {
                return id;
            }
        }
    }
    return std::nullopt;
}

bool isInterpreter(std::string_view name) {
    static constexpr std::array prefixes{"python", "node", "java", "ruby", "cargo", "go"};
    for (std::string_view prefix : prefixes) {
        if (name.rfind(prefix, 0) != 0) {
            continue;
        }
        std::string_view rest = name.substr(prefix.size());
        bool versioned = true;
        for (char c : rest) {
            if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.') {
                versioned = false;
            }
        }
        if (versioned) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> findWorkspace(const std::string& cwd) {
    static constexpr std::array markers{".git", "Cargo.toml", "package.json", "pyproject.toml",
                                        "go.mod"};
    const char* home = std::getenv("HOME");
    std::string dir = cwd;
    for (int depth = 0; depth < 32 && dir.size() > 1 && dir[0] == '/'; ++depth) {
        if (home == nullptr || dir != home) {
            for (const char* marker : markers) {
                if (::access((dir + "/" + marker).c_str(), F_OK) == 0) {
                    return dir;
                }
            }
        }
        std::size_t slash = dir.rfind('/');
        dir = slash == 0 ? "/" : dir.substr(0, slash);
    }
    return std::nullopt;
}

std::string executableBaseName(std::string_view exePath) {
    if (endsWith(exePath, " (deleted)")) {
        exePath.remove_suffix(10);
    }
    return std::string(lastComponent(exePath));
}

FamilyResolver::FamilyResolver(ProcRoot& root, DesktopEntries& desktopEntries)
    : root_(root), desktopEntries_(desktopEntries) {}

FamilyIdentity FamilyResolver::resolve(const ProcessRecord& record, const ProcessTable& table,
                                       std::string_view cgroupText) {
    FamilyIdentity identity;
    std::string base = record.exe.empty() ? record.comm : executableBaseName(record.exe);
    std::string title = displayText(base, 120);
    if (title.empty()) {
        title = "PID " + std::to_string(record.pid);
    }

    if (isInterpreter(base)) {
        if (auto cwd = root_.readLink(record.pid, "cwd")) {
            if (auto workspace = findWorkspace(*cwd)) {
                identity.workspace = *workspace;
                identity.key =
                    "workspace:" + displayText(base, 120) + ":" + displayText(*workspace, 1024);
                identity.title = title + " \u00B7 " + displayText(shortPathName(*workspace), 120);
                return identity;
            }
        }
    }

    if (auto appId = appIdFromCgroup(cgroupText)) {
        identity.appId = *appId;
        identity.key = "app:" + displayText(*appId, 256);
        identity.title = desktopEntries_.nameFor(*appId).value_or(title);
        return identity;
    }

    const ProcessRecord* top = &record;
    for (int depth = 0; depth < 128; ++depth) {
        const ProcessRecord* parent = table.find(top->ppid);
        if (parent == nullptr || parent == top || parent->uid != record.uid ||
            parent->exe != record.exe || record.exe.empty()) {
            break;
        }
        top = parent;
    }
    identity.key = "proc:" + displayText(base, 120) + ":" + std::to_string(top->pid) + ":" +
                   std::to_string(top->startTime);
    identity.title = title;
    return identity;
}

} // namespace velmora
