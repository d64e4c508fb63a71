#include "app/UpdaterEnvironment.h"

#include "app/InstallLocation.h"
#include "backend/BackendExecutableResolver.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace velmora {
namespace {

// The text split into UTF-8 characters (a malformed byte counts as one).
std::vector<std::string> characters(const std::string& text) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80    ? 1
                             : lead >= 0xF0 ? 4
                             : lead >= 0xE0 ? 3
                             : lead >= 0xC0 ? 2
                                            : 1;
        if (i + length > text.size()) {
            length = 1;
        }
        result.push_back(text.substr(i, length));
        i += length;
    }
    return result;
}

bool isSpaceOrBreak(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

InfoDictionary InfoDictionary::load(const std::filesystem::path& resourcesDirectory) {
    std::ifstream in(resourcesDirectory / "Info.json", std::ios::binary);
    if (!in) {
        return {};
    }
    std::ostringstream text;
    text << in.rdbuf();
    auto parsed = Json::parse(text.str(), nullptr, false);
    if (!parsed.is_object()) {
        return {};
    }
    return {std::move(parsed)};
}

std::optional<std::string> InfoDictionary::string(const std::string& key) const {
    const auto found = values.find(key);
    if (found == values.end() || !found->is_string()) {
        return std::nullopt;
    }
    return found->get<std::string>();
}

UpdaterVersionSummary UpdaterVersionSummary::from(const InfoDictionary& info) {
    UpdaterVersionSummary summary;
    summary.shortVersion = info.string("CFBundleShortVersionString").value_or("0.0.0");
    summary.buildVersion = info.string("CFBundleVersion").value_or("0");
    return summary;
}

std::string UpdaterVersionSummary::menuTitle() const {
    return "Version " + shortVersion + " (" + buildVersion + ")";
}

bool UpdaterRuntime::isUpdaterEligible() const {
    if (!info.string("SUFeedURL") || !info.string("SUPublicEDKey")) {
        return false;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(resourcesDirectory, error) ||
        !BackendExecutableResolver::isExecutableFile(resourcesDirectory / "Backend" / "velmora")) {
        return false;
    }
    const auto dev = environment.find("VELMORA_ENABLE_UPDATER_IN_DEV");
    if (dev != environment.end() && dev->second == "1") {
        return true;
    }
    return isInstalledPrefix(executable);
}

std::string shortFingerprint(const std::string& key) {
    std::size_t first = 0;
    std::size_t last = key.size();
    while (first < last && isSpaceOrBreak(key[first])) {
        ++first;
    }
    while (last > first && isSpaceOrBreak(key[last - 1])) {
        --last;
    }
    const auto trimmed = key.substr(first, last - first);
    const auto chars = characters(trimmed);
    if (chars.size() < 17) {
        return trimmed;
    }
    std::string result;
    for (std::size_t i = 0; i < 8; ++i) {
        result += chars[i];
    }
    result += "\u2026";
    for (std::size_t i = chars.size() - 8; i < chars.size(); ++i) {
        result += chars[i];
    }
    return result;
}

} // namespace velmora
