// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/InstalledVersion.h"

#include "model/JsonText.h"

#include <fstream>
#include <sstream>

namespace velmora {

std::string installedVersion(const std::filesystem::path& resourcesDirectory) {
    std::ifstream in(resourcesDirectory / "Info.json", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const auto parsed = parseJsonText(text.str());
    if (parsed && parsed.value().is_object()) {
        const auto version = parsed.value().find("version");
        if (version != parsed.value().end() && version->is_string() &&
            !version->get<std::string>().empty()) {
            return version->get<std::string>();
        }
    }
    return "0.0.0";
}

} // namespace velmora
