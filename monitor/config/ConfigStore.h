// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Enums.h"
#include "model/Json.h"

#include <map>
#include <string>

namespace velmora {

// The persisted settings in config.json: storage mode, evidence capture, refresh interval,
// ignored families (with their expiry) and the tuning object. Keys it does not know are kept.
class ConfigStore {
public:
    explicit ConfigStore(std::string path);

    // Reads the file; a missing file gives the defaults, an unreadable one too (it is set
    // aside as config.json.broken on the next save, never silently overwritten).
    void load();
    bool save(std::string& error);

    const std::string& path() const { return path_; }
    SettingsStorageMode storageMode() const { return storageMode_; }
    bool evidenceCapture() const { return evidenceCapture_; }
    double refreshIntervalSeconds() const { return refreshSeconds_; }
    // The "tuning" object as written; the session reads every stage's settings from it.
    const Json& tuning() const { return tuning_; }
    const std::string& loadProblem() const { return loadProblem_; }

    void setStorageMode(SettingsStorageMode mode) { storageMode_ = mode; }
    void setEvidenceCapture(bool enabled) { evidenceCapture_ = enabled; }
    // Clamped to 0.5-10 s.
    void setRefreshIntervalSeconds(double seconds);

    bool isIgnored(const std::string& key, double wallNow) const;
    void ignore(const std::string& key, const std::string& title, double untilWall);
    void pruneIgnores(double wallNow);

private:
    std::string path_;
    Json document_ = Json::object();
    SettingsStorageMode storageMode_ = SettingsStorageMode::balanced;
    bool evidenceCapture_ = true;
    double refreshSeconds_ = 1.0;
    Json tuning_ = Json::object();
    std::map<std::string, std::pair<std::string, double>> ignores_; // key -> (title, until)
    bool broken_ = false;
    std::string loadProblem_;
};

// Loads the file; when it is unreadable, says so on standard error with what happens instead
// ("using defaults"). Returns whether it was read.
bool loadConfigOrWarn(ConfigStore& config, const char* instead);

} // namespace velmora
