// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MessageLanguages.h"

#include <algorithm>
#include <string_view>

namespace velmora {
namespace {

std::string variable(const Environment& environment, const char* name) {
    const auto found = environment.find(name);
    return found == environment.end() ? std::string() : found->second;
}

// "de_AT.UTF-8@euro" -> "de_AT".
std::string withoutCodesetAndModifier(std::string_view name) {
    return std::string(name.substr(0, name.find_first_of(".@")));
}

bool isPosix(std::string_view name) {
    return name.empty() || name == "C" || name == "POSIX";
}

// A name of the language the texts are written in, or of none.
bool isUntranslated(std::string_view name) {
    return isPosix(name) || name == "en" || name.starts_with("en_");
}

} // namespace

std::vector<std::string> messageLanguages(const Environment& environment) {
    std::string locale = variable(environment, "LC_ALL");
    for (const char* fallback : {"LC_MESSAGES", "LANG"}) {
        if (locale.empty()) {
            locale = variable(environment, fallback);
        }
    }
    if (isPosix(withoutCodesetAndModifier(locale))) {
        return {};
    }
    std::string wanted = variable(environment, "LANGUAGE");
    wanted += (wanted.empty() ? "" : ":") + locale;

    std::vector<std::string> languages;
    const auto add = [&languages](std::string name) {
        if (!name.empty() &&
            std::find(languages.begin(), languages.end(), name) == languages.end()) {
            languages.push_back(std::move(name));
        }
    };
    std::string_view rest = wanted;
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string name = withoutCodesetAndModifier(rest.substr(0, colon));
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        if (name.empty()) {
            continue;
        }
        if (isUntranslated(name)) {
            break;
        }
        add(name);
        add(name.substr(0, name.find('_')));
    }
    return languages;
}

} // namespace velmora
