// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/RequestEnvelope.h"

#include "model/Codec.h"

#include <cmath>

namespace velmora {

namespace {
RequestEnvelope ofKind(std::string_view kind) {
    RequestEnvelope request;
    request.kind = std::string(kind);
    return request;
}
} // namespace

RequestEnvelope RequestEnvelope::getSnapshot() {
    return ofKind(getSnapshotKind);
}

RequestEnvelope RequestEnvelope::dispatchAction(std::string actionId, std::string targetKey) {
    auto request = ofKind(dispatchActionKind);
    request.actionId = std::move(actionId);
    request.targetKey = std::move(targetKey);
    return request;
}

RequestEnvelope RequestEnvelope::dispatchCommand(ShellCommand command) {
    auto request = ofKind("dispatchCommand");
    request.commandId = std::string(toWire(command));
    return request;
}

RequestEnvelope RequestEnvelope::getAdvancedHistory(std::optional<std::string> selectedKey) {
    auto request = ofKind("getAdvancedHistory");
    request.selectedKey = std::move(selectedKey);
    return request;
}

RequestEnvelope RequestEnvelope::updateRefreshInterval(double seconds) {
    auto request = ofKind("updateRefreshInterval");
    request.refreshIntervalSeconds = seconds;
    return request;
}

RequestEnvelope RequestEnvelope::updateStorageMode(SettingsStorageMode mode) {
    auto request = ofKind("updateStorageMode");
    request.storageMode = mode;
    return request;
}

RequestEnvelope RequestEnvelope::updateEvidenceCapture(bool enabled) {
    auto request = ofKind("updateEvidenceCapture");
    request.enabled = enabled;
    return request;
}

namespace {

// An ordered object, so the line lists its keys in field order.
class OrderedLine {
public:
    template <class T> void put(const char* key, const std::optional<T>& value) {
        if (!value) {
            return;
        }
        if constexpr (WireEnum<T>) {
            object_[key] = std::string(toWire(*value));
        } else {
            object_[key] = *value;
        }
    }
    void put(const char* key, const std::string& value) { object_[key] = value; }

    std::string text() const {
        return object_.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) +
               "\n";
    }

private:
    nlohmann::ordered_json object_ = nlohmann::ordered_json::object();
};

} // namespace

std::string encodeRequestLine(const RequestEnvelope& request) {
    if (request.refreshIntervalSeconds && !std::isfinite(*request.refreshIntervalSeconds)) {
        // JSON has no NaN or infinity; the encoder would silently write null.
        throw RequestEncodingError("refreshIntervalSeconds is not a finite number");
    }
    OrderedLine line;
    line.put("kind", request.kind);
    line.put("actionId", request.actionId);
    line.put("targetKey", request.targetKey);
    line.put("commandId", request.commandId);
    line.put("selectedKey", request.selectedKey);
    line.put("refreshIntervalSeconds", request.refreshIntervalSeconds);
    line.put("storageMode", request.storageMode);
    line.put("enabled", request.enabled);
    return line.text();
}

RequestEnvelope decodeRecord(const Json& json, std::type_identity<RequestEnvelope>) {
    const ObjectReader in(json);
    return {
        .kind = in.required<std::string>("kind"),
        .actionId = in.optional<std::string>("actionId"),
        .targetKey = in.optional<std::string>("targetKey"),
        .commandId = in.optional<std::string>("commandId"),
        .selectedKey = in.optional<std::string>("selectedKey"),
        .refreshIntervalSeconds = in.optional<double>("refreshIntervalSeconds"),
        .storageMode = in.optional<SettingsStorageMode>("storageMode"),
        .enabled = in.optional<bool>("enabled"),
    };
}

Decoded<RequestEnvelope> decodeRequestLine(std::string_view line) {
    return decodeText<RequestEnvelope>(line);
}

} // namespace velmora
