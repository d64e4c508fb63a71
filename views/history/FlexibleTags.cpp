// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/history/FlexibleTags.h"

namespace velmora {

AdvancedHistoryTag::AdvancedHistoryTag(QWidget* parent)
    : CapsuleLabel(TypeRole::caption, QFont::DemiBold, 8, 4, parent) {
    // A tag may give up width when it alone is wider than its row: its text shrinks a little,
    // then truncates.
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    label()->setMinimumScaleFactor(0.85);
}

void AdvancedHistoryTag::setTag(const QString& text, ColorRef tint) {
    setText(text);
    ColorRef fill = tint;
    fill.opacity = tint.opacity * 0.1;
    setTint(tint, fill);
}

FlexibleTags::FlexibleTags(QWidget* parent) : QWidget(parent) {
    setObjectName("evidenceTags");
    auto* layout = new WrappingRowLayout(6, 6, this);
    layout->setContentsMargins(0, 0, 0, 0);
    // A tag keeps its line while its whole text fits at its smallest scale.
    layout->setFloor([](const QWidget& widget) {
        const auto& tag = static_cast<const AdvancedHistoryTag&>(widget);
        const QMargins padding = tag.layout()->contentsMargins();
        return tag.label()->truncatedWidth(static_cast<int>(tag.displayText().size())) +
               padding.left() + padding.right();
    });
    tags_.attach(layout);
}

void FlexibleTags::setTags(const std::vector<std::string>& tags) {
    const std::vector<std::string> shown(
        tags.begin(),
        tags.begin() + static_cast<std::ptrdiff_t>(std::min(tags.size(), shownTagLimit)));
    tags_.reconcile(
        shown, [](const std::string& tag) { return tag; },
        [this](const std::string&) { return new AdvancedHistoryTag(this); },
        [](AdvancedHistoryTag& tag, const std::string& text) {
            tag.setObjectName(QString::fromStdString("tag:" + text));
            tag.setTag(QString::fromStdString(text), paletteRef(PaletteColor::mutedText, 0.86));
        });
}

} // namespace velmora
