#include "monitor/RequestHandler.h"

#include "model/Codec.h"
#include "monitor/Formatting.h"
#include "monitor/SnapshotComposer.h"

#include <filesystem>

namespace velmora {
namespace {

std::optional<std::string> stringField(const Json& request, const char* key) {
    auto it = request.find(key);
    if (it == request.end() || !it->is_string()) {
        return std::nullopt;
    }
    return it->get<std::string>();
}

std::string messageLine(const std::string& message) {
    return dumpJsonText(Json{{"kind", "message"}, {"message", message}});
}

} // namespace

uint64_t directorySize(const std::string& path) {
    std::error_code error;
    uint64_t total = 0;
    for (auto it = std::filesystem::recursive_directory_iterator(path, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file(error)) {
            total += it->file_size(error);
        }
    }
    return total;
}

RequestHandler::RequestHandler(MonitorContext& context) : context_(context), actions_(context) {}

std::string RequestHandler::storageText() {
    double now = context_.monotonicClock();
    if (now - storageCheckedAt_ > 30) {
        storageCheckedAt_ = now;
        uint64_t bytes = directorySize(context_.paths.dataDir);
        storageText_ = "Data folder " + formatKiB(static_cast<double>(bytes) / 1024.0);
    }
    return storageText_;
}

PopoverSnapshot RequestHandler::snapshot() {
    auto view = context_.latestView();
    double now = context_.monotonicClock();
    if (context_.interaction.feedback && now > context_.interaction.feedbackUntil) {
        context_.interaction.feedback.reset();
    }
    ComposeContext compose{view.get(), context_.config, context_.interaction, context_.paths};
    compose.monotonicNow = now;
    compose.wallNow = context_.wallClock();
    compose.uid = context_.uid;
    compose.storageText = storageText();
    return composeSnapshot(compose);
}

std::string RequestHandler::snapshotLine() {
    return dumpJsonText(Json{{"kind", "snapshot"}, {"snapshot", encode(snapshot())}});
}

std::string RequestHandler::rejected(const std::string& reason) {
    context_.feedback(ActionFeedbackKind::error, "Request not understood", reason);
    return snapshotLine();
}

std::string RequestHandler::oversized(std::size_t bytes) {
    return rejected("A request of " + std::to_string(bytes) +
                    " bytes was too long and was discarded.");
}

std::string RequestHandler::handle(std::string_view line) {
    actions_.checkPendingExits();
    auto parsed = parseJsonText(line);
    if (!parsed) {
        return rejected("The request is not valid JSON: " + parsed.error().text());
    }
    if (!parsed.value().is_object()) {
        return rejected("The request is not a JSON object.");
    }
    try {
        return route(parsed.value());
    } catch (const std::exception& error) {
        return rejected(std::string("The request could not be handled: ") + error.what());
    }
}

std::string RequestHandler::route(const Json& request) {
    auto kind = stringField(request, "kind");
    if (!kind) {
        return rejected("The request has no kind.");
    }
    if (*kind == "getSnapshot") {
        return snapshotLine();
    }
    // A new request from the user replaces the previous banner.
    context_.interaction.feedback.reset();
    if (*kind == "getAdvancedHistory") {
        return messageLine("Advanced history is not recorded yet: this version of Velmora keeps "
                           "only the live series in memory.");
    }
    if (*kind == "dispatchAction") {
        auto actionId = stringField(request, "actionId");
        auto targetKey = stringField(request, "targetKey");
        if (!actionId || !targetKey) {
            return rejected("dispatchAction needs actionId and targetKey strings.");
        }
        if (*actionId == "export_report") {
            actions_.exportReport([this] { return snapshot(); });
        } else {
            actions_.dispatch(*actionId, *targetKey);
        }
        return snapshotLine();
    }
    if (*kind == "dispatchCommand") {
        auto command = stringField(request, "commandId");
        if (!command) {
            return rejected("dispatchCommand needs a commandId string.");
        }
        if (*command == "export_report") {
            actions_.exportReport([this] { return snapshot(); });
        } else if (*command == "open_data_folder") {
            actions_.openDataFolder();
        } else if (*command == "quit") {
            quitRequested_ = true;
            context_.feedback(ActionFeedbackKind::success, "Quitting", "Velmora is shutting down.");
        } else if (*command != "open_settings") {
            return rejected("Unknown command \"" + *command + "\".");
        }
        return snapshotLine();
    }
    if (*kind == "updateRefreshInterval" || *kind == "updateStorageMode" ||
        *kind == "updateEvidenceCapture") {
        return updateSetting(*kind, request);
    }
    return rejected("Unknown request kind \"" + *kind + "\".");
}

std::string RequestHandler::updateSetting(const std::string& kind, const Json& request) {
    ConfigStore& config = context_.config;
    if (kind == "updateRefreshInterval") {
        auto it = request.find("refreshIntervalSeconds");
        if (it == request.end() || !it->is_number()) {
            return rejected("updateRefreshInterval needs refreshIntervalSeconds as a number.");
        }
        config.setRefreshIntervalSeconds(it->get<double>());
    } else if (kind == "updateStorageMode") {
        auto mode = stringField(request, "storageMode");
        auto parsed = mode ? fromWire<SettingsStorageMode>(*mode) : std::nullopt;
        if (!parsed) {
            return rejected("updateStorageMode needs storageMode \"low\", \"balanced\" or "
                            "\"deep_investigation\".");
        }
        config.setStorageMode(*parsed);
    } else {
        auto it = request.find("enabled");
        if (it == request.end() || !it->is_boolean()) {
            return rejected("updateEvidenceCapture needs enabled as a boolean.");
        }
        config.setEvidenceCapture(it->get<bool>());
    }
    std::string error;
    if (!config.save(error)) {
        context_.feedback(ActionFeedbackKind::error, "Settings not saved",
                          "The change applies until Velmora quits: " + error);
    }
    return snapshotLine();
}

} // namespace velmora
