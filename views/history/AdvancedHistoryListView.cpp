// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/history/AdvancedHistoryListView.h"

#include "state/HistoryTexts.h"
#include "views/history/AdvancedHistoryEmptyState.h"
#include "views/history/FlexibleTags.h"
#include "views/history/OffenderTint.h"
#include "views/kit/QtString.h"
#include "views/kit/SectionBlock.h"

#include <QBoxLayout>
#include <QLocale>

namespace velmora {

OffenderCard::OffenderCard(QWidget* parent)
    : PanelButton(PanelStyle{16,
                             paletteRef(PaletteColor::inset),
                             {},
                             paletteRef(PaletteColor::insetStroke, 0.72),
                             1},
                  parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(10);

    auto* top = new QHBoxLayout;
    top->setSpacing(10);
    dot_ = new DotView(8, paletteRef(PaletteColor::watchText), 4, this);
    dot_->setObjectName("offenderDot");
    top->addWidget(dot_, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(6);
    auto* heading = new QHBoxLayout;
    heading->setSpacing(8);
    title_ = makeText(TypeRole::title, {}, paletteRef(PaletteColor::neutralText), 1, this);
    title_->setObjectName("offenderTitle");
    liveNow_ = new AdvancedHistoryTag(this);
    liveNow_->setObjectName("liveNowTag");
    //: The tag, in capitals, of an offender that is a suspect right now.
    liveNow_->setTag(tr("LIVE NOW"), paletteRef(PaletteColor::criticalText));
    liveNow_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed); // the title gives way first
    lastSeen_ =
        makeText(TypeRole::caption, QFont::DemiBold, paletteRef(PaletteColor::mutedText), 1, this);
    lastSeen_->setObjectName("lastSeen");
    lastSeen_->setUppercase(true);
    lastSeen_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    heading->addWidget(title_, 0, Qt::AlignVCenter);
    heading->addWidget(liveNow_, 0, Qt::AlignVCenter);
    heading->addStretch(1);
    heading->addWidget(lastSeen_, 0, Qt::AlignVCenter);
    texts->addLayout(heading);
    interpretation_ = makeText(TypeRole::body, {}, paletteRef(PaletteColor::mutedText), 0, this);
    interpretation_->setObjectName("interpretation");
    texts->addWidget(interpretation_);
    top->addLayout(texts, 1);
    layout->addLayout(top);

    auto* tags = new QHBoxLayout;
    tags->setSpacing(8);
    risk_ = new AdvancedHistoryTag(this);
    risk_->setObjectName("riskTag");
    risk_->label()->setUppercase(true);
    typicality_ = new AdvancedHistoryTag(this);
    typicality_->setObjectName("typicalityTag");
    typicality_->label()->setUppercase(true);
    tags->addWidget(risk_, 0, Qt::AlignVCenter);
    tags->addWidget(typicality_, 0, Qt::AlignVCenter);
    tags->addStretch(1);
    layout->addLayout(tags);

    auto* metrics = new QHBoxLayout;
    metrics->setSpacing(16);
    //: The caption over the number of incidents in the last 30 days ("30 days", short).
    incidents_ = addMetric(metrics, "metric30d", tr("30d"));
    //: The caption over the number of those incidents that were critical.
    critical_ = addMetric(metrics, "metricCritical", tr("Critical"));
    //: The caption over the highest leak score of the last 30 days.
    peak_ = addMetric(metrics, "metricPeak", tr("Peak"));
    metrics->addStretch(1);
    layout->addLayout(metrics);

    tags_ = new FlexibleTags(this);
    layout->addWidget(tags_);
}

VelmoraText* OffenderCard::addMetric(QBoxLayout* row, const char* name, const QString& label) {
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    auto* caption =
        makeText(TypeRole::caption, QFont::DemiBold, paletteRef(PaletteColor::mutedText), 1, this);
    caption->setUppercase(true);
    caption->setText(label);
    caption->setObjectName(QString::fromLatin1(name) + "Label");
    auto* value = makeText(TypeRole::metric, {}, paletteRef(PaletteColor::neutralText), 1, this);
    value->setObjectName(QString::fromLatin1(name));
    column->addWidget(caption);
    column->addWidget(value);
    row->addLayout(column);
    return value;
}

void OffenderCard::setOffender(const HistoricalOffenderSummarySnapshot& sent) {
    const HistoricalOffenderSummarySnapshot offender = localized(sent);
    offender_ = sent;
    setObjectName(qs("offender:" + offender.key));
    setAccessibleName(qs(offender.title));
    const ColorRef tint = paletteRef(offenderTint(offender));
    dot_->setColor(tint);
    title_->setText(qs(offender.title));
    setShown(liveNow_, offender.liveNow);
    lastSeen_->setText(qs(offender.lastSeenText));
    interpretation_->setText(qs(offender.interpretation));
    risk_->setTag(qs(offender.riskLabel), tint);
    typicality_->setTag(qs(offender.typicalityLabel), paletteRef(PaletteColor::mutedText, 0.9));
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    //: The number of incidents in the last 30 days.
    // English reads "1 incidents" as the figure with its fixed unit; a catalogue may give the
    // language's plural forms.
    incidents_->setText(tr("%n incidents", nullptr, static_cast<int>(offender.incidentCount30d)));
    critical_->setText(locale.toString(offender.criticalIncidentCount30d));
    peak_->setText(locale.toString(offender.peakScore30d));
    tags_->setTags(offender.evidenceTags);
    setShown(tags_, !offender.evidenceTags.empty());
}

AdvancedHistoryListView::AdvancedHistoryListView(QWidget* parent) : QWidget(parent) {
    setObjectName("advancedHistoryList");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(11);

    auto* header = new SectionBlock(16, this);
    header->setObjectName("listHeader");
    //: The heading, in capitals, of the history of recurring offenders.
    header->setTitle(tr("ADVANCED"));
    auto* headerTexts = new QVBoxLayout;
    headerTexts->setSpacing(6);
    auto* title = makeText(TypeRole::title, {}, paletteRef(PaletteColor::neutralText), 0, header);
    title->setText(tr("Recurring Issues"));
    auto* about = makeText(TypeRole::body, {}, paletteRef(PaletteColor::mutedText), 0, header);
    about->setText(tr("One row per offender. Nearby suspect windows are compacted into incidents "
                      "so noisy repeats do not flood the surface."));
    headerTexts->addWidget(title);
    headerTexts->addWidget(about);
    header->content()->addLayout(headerTexts);
    layout->addWidget(header);

    empty_ = new AdvancedHistoryEmptyState(this);
    empty_->setObjectName("listEmptyState");
    empty_->hide();
    layout->addWidget(empty_);
    cardList_ = new QWidget(this);
    auto* cards = new QVBoxLayout(cardList_);
    cards->setContentsMargins(0, 0, 0, 0);
    cards->setSpacing(11);
    cards_.attach(cards);
    layout->addWidget(cardList_);
}

void AdvancedHistoryListView::setState(
    const std::vector<HistoricalOffenderSummarySnapshot>& offenders, bool isLoading,
    const std::optional<std::string>& errorText) {
    if (errorText) {
        //: The history could not be read; the monitor's error follows.
        empty_->setTexts(tr("History fetch failed"), qs(*errorText));
    } else if (offenders.empty() && !isLoading) {
        empty_->setTexts(tr("No recurring offenders yet"),
                         tr("Velmora will rank apps here once it has enough repeated suspect "
                            "history to compact into incidents."));
    }
    const bool showsEmpty = errorText.has_value() || (offenders.empty() && !isLoading);
    setShown(empty_, showsEmpty);
    const std::vector<HistoricalOffenderSummarySnapshot> none;
    cards_.reconcile(
        showsEmpty ? none : offenders,
        [](const HistoricalOffenderSummarySnapshot& offender) { return offender.key; },
        [this](const HistoricalOffenderSummarySnapshot&) {
            auto* card = new OffenderCard(cardList_);
            card->setOnTap([this, card] {
                if (onSelect_) {
                    onSelect_(card->offender().key);
                }
            });
            return card;
        },
        [](OffenderCard& card, const HistoricalOffenderSummarySnapshot& offender) {
            if (!(card.offender() == offender) || card.objectName().isEmpty()) {
                card.setOffender(offender);
            }
        });
    setShown(cardList_, !cards_.empty());
}

} // namespace velmora
