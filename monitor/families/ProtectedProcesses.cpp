// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/families/ProtectedProcesses.h"

#include "monitor/proc/ProcParsers.h"

#include <algorithm>
#include <array>

namespace velmora {

ProtectedProcesses::ProtectedProcesses(const ProcRoot& root, pid_t self)
    : root_(root), self_(self) {}

std::set<pid_t> ProtectedProcesses::selfAndAncestors() const {
    std::set<pid_t> chain{self_, 1};
    pid_t pid = self_;
    char buf[2048];
    for (int depth = 0; depth < 256 && pid > 1; ++depth) {
        if (root_.readPidFile(pid, "stat", buf, sizeof buf) <= 0) {
            break;
        }
        auto stat = parseStat(buf);
        if (!stat || stat->ppid <= 0 || chain.count(stat->ppid) != 0) {
            if (stat && stat->ppid > 0) {
                chain.insert(stat->ppid);
            }
            break;
        }
        chain.insert(stat->ppid);
        pid = stat->ppid;
    }
    return chain;
}

namespace {

// Display servers and audio servers map their clients' buffers.
constexpr std::array kBufferServers{
    // compositors and display servers
    "gnome-shell", "mutter", "kwin_wayland", "kwin_x11", "kwin", "sway", "weston", "Xwayland",
    "Xorg", "X", "Hyprland", "wayfire", "labwc", "river", "xfwm4", "openbox", "i3", "marco",
    "muffin", "cinnamon", "budgie-wm", "gamescope", "niri", "cosmic-comp",
    // audio
    "pipewire", "pipewire-pulse", "wireplumber", "pulseaudio", "jackd"};

constexpr std::array kOtherSessionProcesses{
    // desktop shells and panels
    "plasmashell", "gnome-session-binary", "gnome-session", "gnome-session-ctl", "ksmserver",
    "kded5", "kded6", "xfce4-session", "xfce4-panel", "lxsession", "lxqt-session", "mate-session",
    "cinnamon-session", "startplasma-wayland", "startplasma-x11", "gdm-wayland-session",
    "gdm-x-session", "sddm", "lightdm", "gdm", "gdm3", "login", "systemd", "init", "sshd",
    "xdg-desktop-portal", "xdg-desktop-portal-gtk", "xdg-desktop-portal-gnome",
    "xdg-desktop-portal-kde", "xdg-permission-store",
    // message buses
    "dbus-daemon", "dbus-broker", "dbus-broker-launch", "at-spi-bus-launcher",
    // interactive shells
    "bash", "sh", "dash", "zsh", "fish", "ksh", "tcsh", "csh"};

template <std::size_t N>
bool named(const std::array<const char*, N>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(),
                       [name](std::string_view candidate) { return name == candidate; });
}

} // namespace

bool ProtectedProcesses::isSessionProcess(std::string_view name) {
    return named(kBufferServers, name) || named(kOtherSessionProcesses, name);
}

bool ProtectedProcesses::mapsClientBuffers(std::string_view exeBaseName, std::string_view comm) {
    return named(kBufferServers, exeBaseName) || named(kBufferServers, comm);
}

bool ProtectedProcesses::isProtected(pid_t pid, std::string_view exeBaseName, std::string_view comm,
                                     const std::set<pid_t>& selfAndAncestors) {
    return pid <= 1 || isSessionProcess(exeBaseName) || isSessionProcess(comm) ||
           exeBaseName == "velmora" || exeBaseName == "velmora-ui" ||
           selfAndAncestors.count(pid) != 0;
}

bool ProtectedProcesses::isProtected(pid_t pid, std::string_view exeBaseName,
                                     std::string_view comm) const {
    return isProtected(pid, exeBaseName, comm, selfAndAncestors());
}

} // namespace velmora
