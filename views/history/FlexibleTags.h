// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/KeyedWidgetList.h"
#include "views/kit/SurfacePanel.h"
#include "views/kit/WrappingRowLayout.h"

#include <string>
#include <vector>

namespace velmora {

// A short tag: the text in semibold caption in its tint, on a capsule of the tint at 0.1.
class AdvancedHistoryTag : public CapsuleLabel {
    Q_OBJECT
public:
    explicit AdvancedHistoryTag(QWidget* parent = nullptr);

    void setTag(const QString& text, ColorRef tint);
};

// The first three evidence tags in a row that continues on a new line where a longer language
// needs it (the tags of a line shrink their text a little first); further tags are not shown.
// Object name "evidenceTags", tags "tag:<text>".
class FlexibleTags : public QWidget {
    Q_OBJECT
public:
    static constexpr std::size_t shownTagLimit = 3;

    explicit FlexibleTags(QWidget* parent = nullptr);

    void setTags(const std::vector<std::string>& tags);
    std::vector<AdvancedHistoryTag*> tags() const { return tags_.widgets(); }

private:
    KeyedWidgetList<AdvancedHistoryTag, WrappingRowLayout> tags_;
};

} // namespace velmora
