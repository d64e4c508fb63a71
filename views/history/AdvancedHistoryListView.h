// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AdvancedHistorySnapshot.h"
#include "views/kit/KeyedWidgetList.h"
#include "views/kit/SurfacePanel.h"

#include <functional>
#include <optional>
#include <string>

namespace velmora {

class AdvancedHistoryEmptyState;
class AdvancedHistoryTag;
class FlexibleTags;

// One recurring offender as a card that opens its history detail. Object names:
// "offender:<key>", inside it "offenderDot", "offenderTitle", "liveNowTag", "lastSeen",
// "interpretation", "riskTag", "typicalityTag", "metric30d", "metricCritical", "metricPeak",
// "evidenceTags".
class OffenderCard : public PanelButton {
    Q_OBJECT
public:
    explicit OffenderCard(QWidget* parent = nullptr);

    void setOffender(const HistoricalOffenderSummarySnapshot& offender);
    const HistoricalOffenderSummarySnapshot& offender() const { return offender_; }

private:
    VelmoraText* addMetric(QBoxLayout* row, const char* name, const QString& label);

    HistoricalOffenderSummarySnapshot offender_;
    DotView* dot_;
    VelmoraText* title_;
    AdvancedHistoryTag* liveNow_;
    VelmoraText* lastSeen_;
    VelmoraText* interpretation_;
    AdvancedHistoryTag* risk_;
    AdvancedHistoryTag* typicality_;
    VelmoraText* incidents_;
    VelmoraText* critical_;
    VelmoraText* peak_;
    FlexibleTags* tags_;
};

// The "Recurring Issues" header and, below it, the error, the empty state or one card per
// offender in the order received. Object names: "advancedHistoryList", "listHeader",
// "listEmptyState".
class AdvancedHistoryListView : public QWidget {
    Q_OBJECT
public:
    explicit AdvancedHistoryListView(QWidget* parent = nullptr);

    void setState(const std::vector<HistoricalOffenderSummarySnapshot>& offenders, bool isLoading,
                  const std::optional<std::string>& errorText);
    void setOnSelectOffender(std::function<void(const std::string&)> onSelect) {
        onSelect_ = std::move(onSelect);
    }
    std::vector<OffenderCard*> cards() const { return cards_.widgets(); }
    AdvancedHistoryEmptyState* emptyState() const { return empty_; }

private:
    AdvancedHistoryEmptyState* empty_;
    QWidget* cardList_;
    KeyedWidgetList<OffenderCard> cards_;
    std::function<void(const std::string&)> onSelect_;
};

} // namespace velmora
