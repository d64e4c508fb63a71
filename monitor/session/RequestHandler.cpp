// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/session/RequestHandler.h"

#include "model/Codec.h"
#include "monitor/actions/ArtifactRecall.h"
#include "monitor/common/Formatting.h"
#include "monitor/compose/SnapshotComposer.h"

#include <algorithm>
#include <set>

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

RequestHandler::RequestHandler(MonitorContext& context) : context_(context), actions_(context) {}

std::string RequestHandler::advancedHistoryLine(const Json& request) {
    HistoryService* history = context_.history;
    if (history == nullptr) {
        return messageLine("History is unavailable: Velmora is running without its data folder.");
    }
    std::optional<std::string> selectedKey;
    auto it = request.find("selectedKey");
    if (it != request.end() && !it->is_null()) {
        if (!it->is_string()) {
            return messageLine("getAdvancedHistory needs selectedKey as a string or null.");
        }
        selectedKey = it->get<std::string>();
    }
    std::set<std::string> liveKeys;
    if (auto view = context_.latestView()) {
        for (const FamilyView& family : view->families) {
            if (family.smokeRole == SmokeRole::none) {
                liveKeys.insert(family.key);
            }
        }
    }
    auto result = history->snapshot(selectedKey, liveKeys);
    if (!result) {
        return messageLine(result.error().message);
    }
    return dumpJsonText(
        Json{{"kind", "advancedHistory"}, {"advancedHistory", encode(result.value())}});
}

PopoverSnapshot RequestHandler::snapshot() {
    auto view = context_.latestView();
    double now = context_.monotonicClock();
    if (context_.interaction.feedback && now > context_.interaction.feedbackUntil) {
        context_.interaction.feedback.reset();
    }
    if (view && context_.history != nullptr) {
        recallArtifacts(*context_.history, *view, context_.interaction);
    }
    if (view) {
        context_.interaction.verdictMarks.note(*view);
    }
    ComposeContext compose{view.get(), context_.config, context_.interaction, context_.paths};
    compose.monotonicNow = now;
    compose.wallNow = context_.wallClock();
    compose.uid = context_.uid;
    compose.where = &context_.where;
    compose.tuning = context_.composeTuning;
    if (HistoryService* history = context_.history) {
        compose.footer = history->footer();
        compose.historyLine = [history](const std::string& key) {
            return history->historyLine(key);
        };
    }
    PopoverSnapshot snapshot = composeSnapshot(compose);
    if (samplingStall_) {
        if (const auto stalled = samplingStall_()) {
            snapshot.samplingStalledMs = static_cast<uint64_t>(std::max(0.0, *stalled) * 1000.0);
        }
    }
    return snapshot;
}

std::string RequestHandler::snapshotLine() {
    return dumpJsonText(Json{{"kind", "snapshot"}, {"snapshot", encode(snapshot())}});
}

std::string RequestHandler::rejected(const std::string& reason) {
    context_.feedback(ActionFeedbackKind::error, FeedbackCode::requestRejected, {.detail = reason});
    return snapshotLine();
}

std::string RequestHandler::oversized(std::size_t bytes) {
    return rejected("A request of " + std::to_string(bytes) +
                    " bytes was too long and was discarded.");
}

std::string RequestHandler::handle(std::string_view line) {
    actions_.checkPendingExits();
    actions_.followTracking();
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
        return advancedHistoryLine(request);
    }
    if (*kind == "dispatchAction") {
        auto actionId = stringField(request, "actionId");
        auto targetKey = stringField(request, "targetKey");
        if (!actionId || !targetKey) {
            return rejected("dispatchAction needs actionId and targetKey strings.");
        }
        if (fromWire<ActionId>(*actionId) == ActionId::exportReport) {
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
            context_.feedback(ActionFeedbackKind::success, FeedbackCode::quitting);
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
        if (context_.history != nullptr) {
            context_.history->setStorageMode(*parsed);
        }
    } else {
        auto it = request.find("enabled");
        if (it == request.end() || !it->is_boolean()) {
            return rejected("updateEvidenceCapture needs enabled as a boolean.");
        }
        config.setEvidenceCapture(it->get<bool>());
    }
    std::string error;
    if (!config.save(error)) {
        context_.feedback(ActionFeedbackKind::error, FeedbackCode::settingsNotSaved,
                          {.detail = error});
    }
    return snapshotLine();
}

} // namespace velmora
