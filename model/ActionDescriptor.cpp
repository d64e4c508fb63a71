// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ActionDescriptor.h"

#include "base/Translate.h"
#include "model/Codec.h"

namespace velmora {

ActionDescriptor decodeRecord(const Json& json, std::type_identity<ActionDescriptor>) {
    const ObjectReader in(json);
    return {
        .id = in.required<std::string>("id"),
        .label = in.required<std::string>("label"),
        .style = in.required<ActionStyle>("style"),
        .targetKey = in.required<std::string>("targetKey"),
        .labelCode = in.optional<ActionLabelCodes>("labelCode"),
    };
}

Json encodeRecord(const ActionDescriptor& value) {
    return ObjectWriter()
        .field("id", value.id)
        .field("label", value.label)
        .field("style", value.style)
        .field("targetKey", value.targetKey)
        .field("labelCode", value.labelCode)
        .done();
}

ActionDescriptor makeAction(ActionId id, std::string label, ActionStyle style,
                            std::string targetKey) {
    return {std::string(toWire(id)), std::move(label), style, std::move(targetKey)};
}

std::optional<ActionId> actionIdOf(const ActionDescriptor& action) {
    return fromWire<ActionId>(action.id);
}

namespace {

bool quitsTheApp(const ActionDescriptor& action) {
    return action.labelCode && action.labelCode->code.known == ActionLabel::quitApp;
}

} // namespace

std::optional<std::string> actionShortLabel(const ActionDescriptor& action) {
    const auto id = actionIdOf(action);
    if (!id) {
        return std::nullopt;
    }
    switch (*id) {
    // The short labels of the buttons, where room is short.
    case ActionId::selectDetail:
        return translate("ActionDescriptor", "Inspect");
    case ActionId::restart:
        return translate("ActionDescriptor", "Restart");
    case ActionId::recover:
        return quitsTheApp(action) ? translate("ActionDescriptor", "Quit")
                                   : translate("ActionDescriptor", "Recover");
    case ActionId::ignore:
        //: Stop showing this app as a suspect.
        return translate("ActionDescriptor", "Ignore");
    case ActionId::requestForceQuit:
        //: Force the app to quit.
        return translate("ActionDescriptor", "Shut Down");
    default:
        return std::nullopt;
    }
}

std::string actionDisplayLabel(const ActionDescriptor& action) {
    return actionShortLabel(action).value_or(action.label);
}

std::string identity(const ActionDescriptor& action) {
    return action.id;
}

} // namespace velmora
