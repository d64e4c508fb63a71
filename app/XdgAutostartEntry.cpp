// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/XdgAutostartEntry.h"

#include "base/AtomicFile.h"
#include "base/Translate.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace velmora {
namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::string quotedExecArgument(const std::string& argument) {
    const bool plain = std::all_of(argument.begin(), argument.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_' || c == '+';
    });
    if (plain && !argument.empty()) {
        return argument;
    }
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    quoted += '"';
    // A desktop entry value reads "\\" as one backslash, so the escapes are doubled again.
    std::string escaped;
    for (const char c : quoted) {
        escaped += c;
        if (c == '\\') {
            escaped += '\\';
        }
    }
    return escaped;
}

XdgAutostartEntry::XdgAutostartEntry(std::filesystem::path path, std::filesystem::path executable)
    : path_(std::move(path)), executable_(std::move(executable)) {}

std::filesystem::path XdgAutostartEntry::defaultPath(const Environment& environment) {
    return xdgBaseDirectory(environment, "XDG_CONFIG_HOME", ".config") / "autostart" /
           "velmora.desktop";
}

std::string XdgAutostartEntry::entryText(const std::filesystem::path& executable) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Velmora\n"
           "Comment=Local memory-leak monitor\n"
           "Exec=" +
           quotedExecArgument(executable.string()) +
           "\n"
           "Icon=velmora\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool XdgAutostartEntry::isSwitchedOff(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    bool inMainGroup = false;
    while (std::getline(lines, line)) {
        line = trimmed(line);
        if (line.starts_with('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const auto equals = line.find('=');
        if (!inMainGroup || equals == std::string::npos) {
            continue;
        }
        const auto key = trimmed(line.substr(0, equals));
        const auto value = lowercase(trimmed(line.substr(equals + 1)));
        if ((key == "Hidden" && value == "true") ||
            (key == "X-GNOME-Autostart-enabled" && value == "false")) {
            return true;
        }
    }
    return false;
}

AutostartState XdgAutostartEntry::state() const {
    std::ifstream in(path_, std::ios::binary);
    if (!in) {
        return AutostartState::off;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return isSwitchedOff(text.str()) ? AutostartState::switchedOff : AutostartState::on;
}

void XdgAutostartEntry::enable() {
    std::error_code error;
    std::filesystem::create_directories(path_.parent_path(), error);
    if (error) {
        throw std::runtime_error(withArguments(
            //: %1 is a folder, %2 the system's reason.
            translate("XdgAutostartEntry", "Cannot create %1: %2"),
            {path_.parent_path().string(), error.message()}));
    }
    if (auto failed = writeFileAtomically(path_, entryText(executable_), 0644)) {
        throw std::runtime_error(failed->message);
    }
}

void XdgAutostartEntry::disable() {
    std::error_code error;
    std::filesystem::remove(path_, error);
    if (error) {
        throw std::runtime_error(withArguments(
            //: %1 is a file, %2 the system's reason.
            translate("XdgAutostartEntry", "Cannot remove %1: %2"),
            {path_.string(), error.message()}));
    }
}

} // namespace velmora
