// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AdvancedHistorySnapshot.h"
#include "views/kit/SurfacePanel.h"

#include <functional>

namespace velmora {

class AdvancedHistoryTag;
class FlexibleTags;
class LabeledValueList;
class OffenderMemoryBlock;
class SectionBlock;
class SurfaceHeader;
class TextLineList;

// The history of one offender: the way back to the list, a block with the interpretation,
// tags and last-seen time, the "METRICS" block and, when there are insights, "READ".
// Object names: "advancedHistoryDetail"; "backButton" ("Back to History"), "eyebrow";
// "offenderBlock" ("interpretation", "riskTag", "typicalityTag", "lastSeen", "evidenceTags"),
// "offenderMemoryBlock" (see OffenderMemoryBlock), "metricsBlock" ("historyMetric:<label>"),
// "readBlock" ("insightLine:<n>").
class AdvancedHistoryDetailView : public QWidget {
    Q_OBJECT
public:
    explicit AdvancedHistoryDetailView(QWidget* parent = nullptr);

    void setDetail(const HistoricalOffenderDetailSnapshot& detail);
    void setOnBack(std::function<void()> onBack) { onBack_ = std::move(onBack); }

private:
    SectionBlock* buildOffenderBlock();

    SectionBlock* offenderBlock_;
    VelmoraText* interpretation_;
    AdvancedHistoryTag* risk_;
    AdvancedHistoryTag* typicality_;
    VelmoraText* lastSeen_;
    FlexibleTags* tags_;
    OffenderMemoryBlock* memory_;
    LabeledValueList* metrics_;
    SectionBlock* readBlock_;
    TextLineList* insights_;
    std::function<void()> onBack_;
};

} // namespace velmora
