// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/NoTrayHint.h"

#include "base/Translate.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace velmora {
namespace {

struct DesktopHint {
    std::string_view desktop; // as XDG_CURRENT_DESKTOP names it, in lower case
    const char* hint;         // in English, translated where it is shown
};

constexpr const char* context = "NoTrayHint";

constexpr std::array desktopHints{
    DesktopHint{"gnome",
                VELMORA_TRANSLATE_NOOP(
                    "NoTrayHint",
                    "GNOME shows no tray icons by itself. Install the AppIndicator extension "
                    "(Debian package gnome-shell-extension-appindicator), enable it in Extensions "
                    "and log in again: Velmora then shows its icon in the top bar.")},
    DesktopHint{"kde",
                VELMORA_TRANSLATE_NOOP(
                    "NoTrayHint",
                    "Add the \u201CSystem Tray\u201D widget to a panel to see Velmora's icon "
                    "there.")},
    DesktopHint{"xfce",
                VELMORA_TRANSLATE_NOOP(
                    "NoTrayHint", "Add the \u201CStatus Tray Plugin\u201D (or \u201CNotification "
                                  "Area\u201D) to a panel to see Velmora's icon there.")},
    DesktopHint{"x-cinnamon",
                VELMORA_TRANSLATE_NOOP(
                    "NoTrayHint", "Add the \u201CXApp Status Applet\u201D or \u201CSystem "
                                  "Tray\u201D applet to a panel to see Velmora's icon there.")},
    DesktopHint{"mate",
                VELMORA_TRANSLATE_NOOP(
                    "NoTrayHint", "Add the \u201CNotification Area\u201D applet to a panel to see "
                                  "Velmora's icon there.")},
    DesktopHint{"lxqt",
                VELMORA_TRANSLATE_NOOP(
                    "NoTrayHint", "Add the \u201CStatus Notifier\u201D widget to the panel to see "
                                  "Velmora's icon there.")},
    DesktopHint{"sway", VELMORA_TRANSLATE_NOOP(
                            "NoTrayHint",
                            "Give your bar a tray to see Velmora's icon there: swaybar's tray "
                            "(the \u201Ctray\u201D settings of its bar block) or waybar's "
                            "\u201Ctray\u201D module.")},
};

constexpr const char* generalHint = VELMORA_TRANSLATE_NOOP(
    "NoTrayHint",
    "No system tray was found. A panel with a tray that speaks StatusNotifierItem (or, on "
    "X11, an XEmbed tray) shows Velmora's icon; until then Velmora shows itself here.");

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

} // namespace

std::string noTrayHint(std::string_view currentDesktop) {
    const std::string desktops = lowered(currentDesktop);
    std::string_view rest = desktops;
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string_view name = rest.substr(0, colon);
        const auto known =
            std::find_if(desktopHints.begin(), desktopHints.end(),
                         [name](const DesktopHint& hint) { return hint.desktop == name; });
        if (known != desktopHints.end()) {
            return translate(context, known->hint);
        }
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return translate(context, generalHint);
}

} // namespace velmora
