// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FindingSnapshot.h"
#include "views/kit/KeyedWidgetList.h"
#include "views/kit/SurfacePanel.h"

#include <vector>

namespace velmora {

// One recently departed finding: dot, title, last-seen time, explanation and status.
// Object names: "recentFinding:<key>", inside it "title", "lastSeen", "explanation", "status".
class RecentFindingCard : public Panel {
    Q_OBJECT
public:
    explicit RecentFindingCard(QWidget* parent = nullptr);

    void setFinding(const RecentFindingSnapshot& finding);
    const RecentFindingSnapshot& finding() const { return finding_; }

private:
    RecentFindingSnapshot finding_;
    DotView* dot_;
    VelmoraText* title_;
    VelmoraText* lastSeen_;
    VelmoraText* explanation_;
    VelmoraText* status_;
};

// "KEEP AN EYE ON THESE": one card per recent finding, keyed by its key. No controls.
// Object names: "recentFindingsSection", its heading "recentFindingsHeading".
class RecentFindingsSection : public QWidget {
    Q_OBJECT
public:
    explicit RecentFindingsSection(QWidget* parent = nullptr);

    void setRecentFindings(const std::vector<RecentFindingSnapshot>& findings);
    std::vector<RecentFindingCard*> cards() const { return cards_.widgets(); }

private:
    std::vector<RecentFindingSnapshot> findings_;
    bool hasFindings_ = false;
    QWidget* list_;
    KeyedWidgetList<RecentFindingCard> cards_;
};

} // namespace velmora
