// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/IncidentSnapshot.h"
#include "views/kit/KeyedWidgetList.h"
#include "views/kit/SurfacePanel.h"

#include <optional>
#include <utility>
#include <vector>

namespace velmora {

class TimelineMarker;

// One timeline entry: a tone dot with a connector down to the next entry, the upper-cased
// label, the title and the detail. Object names inside it: "label", "title", "detail".
class IncidentTimelineRow : public QWidget {
    Q_OBJECT
public:
    explicit IncidentTimelineRow(QWidget* parent = nullptr);

    void setItem(const IncidentTimelineItem& item);
    // The last row has no connector and no space below it.
    void setLast(bool last);
    bool isLast() const { return last_; }
    bool hasConnector() const;
    void setDetailLineLimit(std::optional<int> lines);

private:
    bool last_ = false;
    TimelineMarker* marker_;
    VelmoraText* label_;
    VelmoraText* title_;
    VelmoraText* detail_;
};

// A list of timeline items, one row per position. `detailLineLimit` caps each detail; absent
// means unlimited. Object name: "incidentTimeline", rows "timelineRow:<index>".
class IncidentTimelineList : public QWidget {
    Q_OBJECT
public:
    explicit IncidentTimelineList(QWidget* parent = nullptr);

    void setItems(const std::vector<IncidentTimelineItem>& items);
    void setDetailLineLimit(std::optional<int> lines);
    std::vector<IncidentTimelineRow*> rows() const { return rows_.widgets(); }

private:
    void showItems();

    std::vector<IncidentTimelineItem> items_;
    bool hasItems_ = false;
    std::optional<int> detailLineLimit_;
    KeyedWidgetList<IncidentTimelineRow> rows_;
};

} // namespace velmora
