#include "model/ActionDescriptor.h"

#include "model/Codec.h"

namespace velmora {

ActionDescriptor decodeRecord(const Json& json, std::type_identity<ActionDescriptor>) {
    const ObjectReader in(json);
    return {
        .id = in.required<std::string>("id"),
        .label = in.required<std::string>("label"),
        .style = in.required<ActionStyle>("style"),
        .targetKey = in.required<std::string>("targetKey"),
    };
}

Json encodeRecord(const ActionDescriptor& value) {
    return ObjectWriter()
        .field("id", value.id)
        .field("label", value.label)
        .field("style", value.style)
        .field("targetKey", value.targetKey)
        .done();
}

std::string actionDisplayLabel(const ActionDescriptor& action) {
    const std::string_view id = action.id;
    if (id == "select_detail") {
        return "Inspect";
    }
    if (id == "restart") {
        return "Restart";
    }
    if (id == "recover") {
        return action.label.starts_with("Quit ") ? "Quit" : "Recover";
    }
    if (id == "ignore") {
        return "Ignore";
    }
    if (id == "request_force_quit") {
        return "Shut Down";
    }
    return action.label;
}

std::string identity(const ActionDescriptor& action) {
    return action.id;
}

} // namespace velmora
