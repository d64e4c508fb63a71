// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/detail/IncidentTimelineList.h"

#include "views/kit/IncidentCardRules.h"

#include <QBoxLayout>
#include <QPainter>

namespace velmora {

namespace {

constexpr int markerWidth = 10;
constexpr int dotSide = 8;
constexpr int dotTop = 5;
constexpr int connectorGap = 4;
constexpr int connectorMinimum = 28;
constexpr int spaceBelow = 8;

} // namespace

// The dot of a timeline row and, below it, the connector to the next row.
class TimelineMarker : public QWidget {
public:
    explicit TimelineMarker(QWidget* parent) : QWidget(parent) {
        setFixedWidth(markerWidth);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        repaintOnAppearanceChange(this);
    }

    void setTone(PaletteColor tone) {
        if (tone != tone_) {
            tone_ = tone;
            update();
        }
    }

    void setConnector(bool connector) {
        if (connector == connector_) {
            return;
        }
        connector_ = connector;
        setMinimumHeight(connector ? dotTop + dotSide + connectorGap + connectorMinimum : 0);
        update();
    }
    bool connector() const { return connector_; }

    QSize sizeHint() const override { return {markerWidth, dotTop + dotSide}; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const auto& palette = VelmoraPalette::current();
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette.color(tone_));
        painter.drawEllipse(QRectF((markerWidth - dotSide) / 2.0, dotTop, dotSide, dotSide));
        if (connector_) {
            const double top = dotTop + dotSide + connectorGap;
            painter.fillRect(QRectF((markerWidth - 1) / 2.0, top, 1, height() - top),
                             palette.color(PaletteColor::insetStroke, 0.54));
        }
    }

private:
    PaletteColor tone_ = PaletteColor::mutedText;
    bool connector_ = false;
};

IncidentTimelineRow::IncidentTimelineRow(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(9);
    marker_ = new TimelineMarker(this);
    layout->addWidget(marker_);
    auto* content = new QVBoxLayout;
    content->setSpacing(3);
    auto* heading = new QHBoxLayout;
    heading->setSpacing(6);
    label_ = makeText(TypeRole::eyebrow, {}, paletteRef(PaletteColor::mutedText), 1, this);
    label_->setObjectName("label");
    label_->setUppercase(true);
    label_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    title_ = makeText(TypeRole::caption, QFont::DemiBold, paletteRef(PaletteColor::neutralText), 1,
                      this);
    title_->setObjectName("title");
    heading->addWidget(label_, 0, Qt::AlignBottom);
    heading->addWidget(title_, 1, Qt::AlignBottom);
    content->addLayout(heading);
    detail_ = makeText(TypeRole::body, {}, paletteRef(PaletteColor::mutedText), 0, this);
    detail_->setObjectName("detail");
    content->addWidget(detail_);
    content->addStretch(1);
    layout->addLayout(content, 1);
    setLast(true);
}

void IncidentTimelineRow::setItem(const IncidentTimelineItem& item) {
    const PaletteColor tone = timelineToneColor(item.tone);
    marker_->setTone(tone);
    label_->setText(QString::fromStdString(item.label));
    label_->setColor(paletteRef(tone));
    title_->setText(QString::fromStdString(item.title));
    detail_->setText(QString::fromStdString(item.detail));
}

void IncidentTimelineRow::setLast(bool last) {
    if (last == last_ && marker_->connector() == !last) {
        return;
    }
    last_ = last;
    marker_->setConnector(!last);
    layout()->setContentsMargins(0, 0, 0, last ? 0 : spaceBelow);
}

bool IncidentTimelineRow::hasConnector() const {
    return marker_->connector();
}

void IncidentTimelineRow::setDetailLineLimit(std::optional<int> lines) {
    detail_->setLineLimit(lines.value_or(0));
}

IncidentTimelineList::IncidentTimelineList(QWidget* parent) : QWidget(parent) {
    setObjectName("incidentTimeline");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    rows_.attach(layout);
}

void IncidentTimelineList::setItems(const std::vector<IncidentTimelineItem>& items) {
    if (hasItems_ && items == items_) {
        return;
    }
    items_ = items;
    hasItems_ = true;
    showItems();
}

void IncidentTimelineList::setDetailLineLimit(std::optional<int> lines) {
    if (lines == detailLineLimit_) {
        return;
    }
    detailLineLimit_ = lines;
    for (auto* row : rows_.widgets()) {
        row->setDetailLineLimit(lines);
    }
}

void IncidentTimelineList::showItems() {
    std::vector<std::pair<std::size_t, IncidentTimelineItem>> positioned;
    positioned.reserve(items_.size());
    for (std::size_t i = 0; i < items_.size(); ++i) {
        positioned.emplace_back(i, items_[i]);
    }
    const std::size_t last = items_.empty() ? 0 : items_.size() - 1;
    rows_.reconcile(
        positioned, [](const auto& entry) { return std::to_string(entry.first); },
        [this](const auto&) { return new IncidentTimelineRow(this); },
        [this, last](IncidentTimelineRow& row, const auto& entry) {
            row.setObjectName(QString::fromStdString("timelineRow:" + std::to_string(entry.first)));
            row.setItem(entry.second);
            row.setLast(entry.first == last);
            row.setDetailLineLimit(detailLineLimit_);
        });
}

} // namespace velmora
