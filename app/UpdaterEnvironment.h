#pragma once

#include "app/Environment.h"
#include "model/Json.h"

#include <filesystem>
#include <optional>
#include <string>

namespace velmora {

// The application's information dictionary, "<resources>/Info.json". A missing or malformed
// file reads as an empty dictionary.
struct InfoDictionary {
    Json values = Json::object();

    static InfoDictionary load(const std::filesystem::path& resourcesDirectory);

    // The value of `key` when it is a string.
    std::optional<std::string> string(const std::string& key) const;
};

struct UpdaterVersionSummary {
    std::string shortVersion = "0.0.0";
    std::string buildVersion = "0";

    static UpdaterVersionSummary from(const InfoDictionary& info);
    // "Version 0.1.0 (1)", the menu's informational item.
    std::string menuTitle() const;

    bool operator==(const UpdaterVersionSummary&) const = default;
};

// Whether this installation may update itself, in order: the dictionary has the feed address
// and the public key as strings; the resources hold an executable "Backend/velmora"; then
// either VELMORA_ENABLE_UPDATER_IN_DEV is "1", or the executable runs from an installed
// prefix (a build tree never updates).
struct UpdaterRuntime {
    InfoDictionary info;
    std::filesystem::path resourcesDirectory;
    std::filesystem::path executable;
    Environment environment;

    bool isUpdaterEligible() const;
};

// A key shown short: trimmed; up to 16 characters whole, otherwise the first 8, "…", the
// last 8 (counted in characters, not bytes).
std::string shortFingerprint(const std::string& key);

} // namespace velmora
