// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/config/ConfigStore.h"

#include "model/JsonText.h"
#include "model/RefreshInterval.h"
#include "monitor/config/MonitorPaths.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace velmora {

ConfigStore::ConfigStore(std::string path) : path_(std::move(path)) {}

void ConfigStore::load() {
    std::ifstream file(path_);
    if (!file) {
        return;
    }
    std::stringstream text;
    text << file.rdbuf();
    auto parsed = parseJsonText(text.str());
    if (!parsed || !parsed.value().is_object()) {
        broken_ = true;
        loadProblem_ = parsed ? "not a JSON object" : parsed.error().text();
        return;
    }
    document_ = parsed.value();
    if (auto it = document_.find("storageMode"); it != document_.end() && it->is_string()) {
        if (auto mode = fromWire<SettingsStorageMode>(it->get<std::string>())) {
            storageMode_ = *mode;
        }
    }
    if (auto it = document_.find("evidenceCaptureEnabled");
        it != document_.end() && it->is_boolean()) {
        evidenceCapture_ = it->get<bool>();
    }
    if (auto it = document_.find("refreshIntervalSeconds");
        it != document_.end() && it->is_number()) {
        setRefreshIntervalSeconds(it->get<double>());
    }
    if (auto it = document_.find("ignored"); it != document_.end() && it->is_object()) {
        for (const auto& [key, entry] : it->items()) {
            if (entry.is_object() && entry.contains("until") && entry["until"].is_number()) {
                std::string title = entry.value("title", key);
                ignores_[key] = {title, entry["until"].get<double>()};
            }
        }
    }
    if (auto it = document_.find("tuning"); it != document_.end()) {
        tuning_ = *it;
    }
}

bool ConfigStore::save(std::string& error) {
    if (broken_) {
        std::rename(path_.c_str(), (path_ + ".broken").c_str());
        broken_ = false;
    }
    document_["storageMode"] = std::string(toWire(storageMode_));
    document_["evidenceCaptureEnabled"] = evidenceCapture_;
    document_["refreshIntervalSeconds"] = refreshSeconds_;
    Json ignored = Json::object();
    for (const auto& [key, entry] : ignores_) {
        ignored[key] = {{"title", entry.first}, {"until", entry.second}};
    }
    document_["ignored"] = std::move(ignored);
    return saveFile(path_, document_.dump(2, ' ', false, Json::error_handler_t::replace) + "\n",
                    error);
}

void ConfigStore::setRefreshIntervalSeconds(double seconds) {
    if (!std::isfinite(seconds)) {
        return;
    }
    refreshSeconds_ = std::clamp(seconds, minimumRefreshSeconds, maximumRefreshSeconds);
}

bool ConfigStore::isIgnored(const std::string& key, double wallNow) const {
    auto it = ignores_.find(key);
    return it != ignores_.end() && it->second.second > wallNow;
}

void ConfigStore::ignore(const std::string& key, const std::string& title, double untilWall) {
    ignores_[key] = {title, untilWall};
}

void ConfigStore::pruneIgnores(double wallNow) {
    std::erase_if(ignores_, [&](const auto& entry) { return entry.second.second <= wallNow; });
}

bool loadConfigOrWarn(ConfigStore& config, const char* instead) {
    config.load();
    if (config.loadProblem().empty()) {
        return true;
    }
    std::fprintf(stderr, "velmora: %s is unreadable (%s); %s\n", config.path().c_str(),
                 config.loadProblem().c_str(), instead);
    return false;
}

} // namespace velmora
