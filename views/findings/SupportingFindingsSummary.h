// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FindingSnapshot.h"
#include "views/kit/SurfacePanel.h"

#include <functional>
#include <string>
#include <vector>

namespace velmora {

class SymbolView;

// "1 other suspect", or the count followed by " other suspects".
std::string supportingSummaryTitle(const std::vector<FindingSnapshot>& findings);
// The first two titles joined with ", ", then " +N" for the findings not named.
std::string supportingSummaryDetail(const std::vector<FindingSnapshot>& findings);

// The focused layout's one button standing for every other suspect; it opens the first one.
// Hidden when there are no findings.
//
// Object names: "supportingFindingsSummary", inside it "summaryTitle", "summaryDetail",
// "summarySymbol", "summaryChevron".
class SupportingFindingsSummary : public PanelButton {
    Q_OBJECT
public:
    explicit SupportingFindingsSummary(QWidget* parent = nullptr);

    void setFindings(const std::vector<FindingSnapshot>& findings);
    const std::vector<FindingSnapshot>& findings() const { return findings_; }
    void setOnOpenDetail(std::function<void(const FindingSnapshot&)> onOpenDetail) {
        onOpenDetail_ = std::move(onOpenDetail);
    }

private:
    std::vector<FindingSnapshot> findings_;
    bool hasFindings_ = false;
    SymbolView* symbol_;
    VelmoraText* title_;
    VelmoraText* detail_;
    std::function<void(const FindingSnapshot&)> onOpenDetail_;
};

} // namespace velmora
