// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/MemoryChart.h"

#include "views/kit/AccessibleValue.h"
#include "views/kit/ChartTexts.h"
#include "views/kit/VelmoraType.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

constexpr double largestKiB = 1e15; // a petabyte and a half: anything larger is bad input
constexpr double labelGap = 6;
constexpr double swatchSize = 8;

QFont labelFont() {
    QFont font = velmoraFont(TypeRole::caption);
    font.setPixelSize(std::max(9, font.pixelSize() - 1));
    return font;
}

bool sane(const ChartPoint& point) {
    return std::isfinite(point.agoSeconds) && std::isfinite(point.kib) && point.kib >= 0 &&
           point.kib <= largestKiB && std::abs(point.agoSeconds) <= 1e9;
}

} // namespace

MemoryChart::MemoryChart(QWidget* parent) : QWidget(parent) {
    setObjectName("memoryChart");
    setFixedHeight(chartHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    //: The name assistive technology gives the chart of memory over time.
    setAccessibleName(tr("Memory chart"));
    repaintOnAppearanceChange(this);
    rescale();
}

void MemoryChart::setData(MemoryChartData data) {
    const std::size_t given = data.points.size();
    std::erase_if(data.points, [](const ChartPoint& point) { return !sane(point); });
    if (data.points.size() != given) {
        data.bands.clear(); // they would no longer line up with the points
    }
    std::erase_if(data.bands, [&data](const ChartBand& band) {
        return band.topKiB.size() > data.points.size() ||
               std::any_of(band.topKiB.begin(), band.topKiB.end(), [](double kib) {
                   return !sane({0, kib});
               });
    });
    if (data.points.size() > maxPoints) {
        data.points.erase(data.points.begin(),
                          data.points.end() - static_cast<std::ptrdiff_t>(maxPoints));
    }
    if (data.trend && (!sane(data.trend->from) || !sane(data.trend->to))) {
        data.trend.reset();
    }
    if (data.level && !sane(data.level->at)) {
        data.level.reset();
    }
    std::erase_if(data.marks, [](const ChartMark& mark) { return !sane({mark.agoSeconds, 0}); });
    if (data == data_ && revision_ > 0) {
        return;
    }
    data_ = std::move(data);
    ++revision_;
    setFixedHeight(chartHeight + (data_.bands.empty() ? 0 : legendHeight));
    if (cursor_ && *cursor_ >= data_.points.size()) {
        cursor_.reset();
    }
    setAccessibleDescription(data_.summary);
    setAccessibleValue(this, readoutText());
    rescale();
    update();
}

void MemoryChart::rescale() {
    oldest_ = 60;
    for (const ChartPoint& point : data_.points) {
        oldest_ = std::max(oldest_, point.agoSeconds);
    }
    latest_ = data_.level ? std::min(0.0, data_.level->at.agoSeconds) : 0;
    latest_ = std::max(latest_, -oldest_); // the future never takes more than the past
    double low = largestKiB;
    double high = 0;
    auto include = [&](double kib) {
        low = std::min(low, kib);
        high = std::max(high, kib);
    };
    for (const ChartPoint& point : data_.points) {
        include(point.kib);
    }
    if (data_.trend) {
        include(data_.trend->from.kib);
        include(data_.trend->to.kib);
    }
    if (data_.level) {
        include(data_.level->at.kib);
    }
    if (low > high) {
        low = 0;
        high = kiBPerMB;
    }
    // A flat series keeps a range of a tenth of its size, so noise never fills the chart.
    const double least = std::max(high * 0.1, kiBPerMB);
    if (high - low < least) {
        const double middle = (high + low) / 2;
        low = std::max(0.0, middle - least / 2);
        high = low + least;
    }
    sizeUnit_ = sizeUnitFor(high);
    valueAxis_ = niceTicks(low, high, 4, sizeUnit_ == SizeUnit::gigabytes ? kiBPerGB : kiBPerMB);
    valueAxis_.low = std::max(0.0, valueAxis_.low);
    std::erase_if(valueAxis_.ticks, [](double tick) { return tick < 0; });
    timeUnit_ = timeUnitFor(oldestAgo() - latestAgo());
    placePlot();
}

void MemoryChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placePlot();
}

std::vector<double> MemoryChart::timeTicks() const {
    std::optional<double> clock;
    if (data_.now) {
        clock = data_.now->time().msecsSinceStartOfDay() / 1000.0;
    }
    return timeAxisTicks(latestAgo(), oldestAgo(), 5, clock);
}

QString MemoryChart::timeLabel(double tick, bool bare) const {
    if (data_.now) {
        return ChartTexts::clockTick(data_.now->addSecs(-static_cast<qint64>(std::llround(tick))),
                                     timeUnit_, oldestAgo() - latestAgo());
    }
    return ChartTexts::spanTick(tick, timeUnit_, bare && tick > 0);
}

QStringList MemoryChart::valueLabels() const {
    QStringList labels;
    for (double tick : valueAxis_.ticks) {
        labels << ChartTexts::sizeTick(tick, sizeUnit_, valueAxis_.step);
    }
    return labels;
}

QStringList MemoryChart::timeLabels() const {
    QStringList labels;
    for (double tick : timeTicks()) {
        labels << timeLabel(tick, false);
    }
    return labels;
}

QStringList MemoryChart::legendLabels() const {
    QStringList labels;
    for (const Label& entry : legendEntries()) {
        labels << entry.text;
    }
    return labels;
}

void MemoryChart::placePlot() {
    const QFontMetricsF metrics(labelFont());
    double labelWidth = 0;
    for (const QString& label : valueLabels()) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(label));
    }
    const double top = metrics.height() + 4; // room for the marks' labels
    // Room for the time labels, and for the legend under them.
    const double bottom = metrics.height() + 4 + (data_.bands.empty() ? 0 : legendHeight);
    const double left = std::ceil(labelWidth) + labelGap;
    const double right = 4;
    plot_ = QRectF(left, top, std::max(1.0, width() - left - right),
                   std::max(1.0, height() - top - bottom));
}

QRectF MemoryChart::plotRect() const {
    return plot_;
}

QPointF MemoryChart::positionOf(const ChartPoint& point) const {
    const QRectF& plot = plot_;
    const double span = std::max(oldestAgo() - latestAgo(), 1.0);
    const double x = plot.left() + (oldestAgo() - point.agoSeconds) / span * plot.width();
    const double range = std::max(valueAxis_.high - valueAxis_.low, 1.0);
    const double y = plot.bottom() - (point.kib - valueAxis_.low) / range * plot.height();
    return {x, y};
}

void MemoryChart::setCursor(std::optional<std::size_t> index) {
    if (index && *index >= data_.points.size()) {
        index.reset();
    }
    if (index == cursor_) {
        return;
    }
    cursor_ = index;
    setAccessibleValue(this, readoutText());
    update();
}

QString MemoryChart::readoutText() const {
    if (!cursor_) {
        return {};
    }
    const ChartPoint& point = data_.points[*cursor_];
    //: The readout under the pointer on a memory chart: %1 when ("14:05", "12 min ago"), %2 the
    //: size then ("412.3 MB").
    return tr("%1 \u00B7 %2")
        .arg(ChartTexts::readoutWhen(point.agoSeconds, data_.now, timeUnit_),
             ChartTexts::sizeReadout(point.kib));
}

std::vector<MemoryChart::Label> MemoryChart::axisLabels() const {
    const QFontMetricsF metrics(labelFont());
    const QRectF plot = plotRect();
    std::vector<Label> labels;
    const QStringList values = valueLabels();
    for (int i = 0; i < values.size(); ++i) {
        const double y = positionOf({0, valueAxis_.ticks[static_cast<std::size_t>(i)]}).y();
        const double w = metrics.horizontalAdvance(values[i]);
        const double top = std::clamp(y - metrics.height() / 2, 0.0, height() - metrics.height());
        labels.push_back({values[i], QRectF(plot.left() - labelGap - w, top, w, metrics.height())});
    }
    // The first past tick says "ago"; the ones after it only their span ("30 min").
    const std::vector<double> ticks = timeTicks();
    QStringList times;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        times << timeLabel(ticks[i], i > 0);
    }
    double lastRight = -1e9;
    for (int i = 0; i < times.size(); ++i) {
        const double x = positionOf({ticks[static_cast<std::size_t>(i)], 0}).x();
        const double w = metrics.horizontalAdvance(times[i]);
        const double left = std::clamp(x - w / 2, plot.left(), width() - w);
        if (left < lastRight + labelGap) {
            continue; // no room beside the previous one
        }
        lastRight = left + w;
        labels.push_back({times[i], QRectF(left, plot.bottom() + 3, w, metrics.height())});
    }
    return labels;
}

std::vector<MemoryChart::Label> MemoryChart::legendEntries() const {
    std::vector<Label> entries;
    if (data_.bands.empty()) {
        return entries;
    }
    const QFontMetricsF metrics(labelFont());
    const double top = height() - legendHeight + (legendHeight - metrics.height()) / 2;
    double left = plotRect().left();
    // In one line; an entry with no room left (a long language, a narrow chart) is left out
    // with those after it.
    auto add = [&](const QString& text) {
        const double w = metrics.horizontalAdvance(text);
        if (left + swatchSize + 4 + w > width()) {
            return false;
        }
        entries.push_back({text, QRectF(left + swatchSize + 4, top, w, metrics.height())});
        left += swatchSize + 4 + w + 10;
        return true;
    };
    if (add(data_.lineLabel)) {
        for (const ChartBand& band : data_.bands) {
            if (!add(band.label)) {
                break;
            }
        }
    }
    return entries;
}

std::vector<MemoryChart::Label> MemoryChart::markLabels() const {
    const QFontMetricsF metrics(labelFont());
    std::vector<Label> labels;
    double lastRight = -1e9;
    for (const ChartMark& mark : data_.marks) {
        const double x = positionOf({mark.agoSeconds, 0}).x();
        const double w = metrics.horizontalAdvance(mark.label);
        const double left = std::clamp(x - w / 2, 0.0, std::max(0.0, width() - w));
        if (left < lastRight + 4) {
            labels.push_back({{}, {}}); // keeps the index; the mark is drawn without a label
            continue;
        }
        lastRight = left + w;
        labels.push_back({mark.label, QRectF(left, 0, w, metrics.height())});
    }
    return labels;
}

std::optional<MemoryChart::Label> MemoryChart::levelLabel() const {
    if (!data_.level || data_.level->label.isEmpty()) {
        return std::nullopt;
    }
    const QFontMetricsF metrics(labelFont());
    const QRectF plot = plotRect();
    const double w = std::min(metrics.horizontalAdvance(data_.level->label), double(width()));
    const double y = positionOf(data_.level->at).y();
    const double top = std::max(plot.top(), y - metrics.height() - 1);
    // Just inside the plot where it fits; a longer text (a longer language) moves left over the
    // value axis rather than past the chart's right edge.
    const double left = std::max(0.0, std::min(plot.left() + 4, width() - w));
    return Label{data_.level->label, QRectF(left, top, w, metrics.height())};
}

std::optional<MemoryChart::Label> MemoryChart::readoutLabel() const {
    if (!cursor_) {
        return std::nullopt;
    }
    const QFontMetricsF metrics(labelFont());
    const QRectF plot = plotRect();
    const QString text = readoutText();
    const double w = metrics.horizontalAdvance(text);
    const double x = positionOf(data_.points[*cursor_]).x();
    const double left = std::clamp(x - w / 2, plot.left(), std::max(plot.left(), width() - w - 6));
    return Label{text, QRectF(left + 3, plot.bottom() - metrics.height() - 4, w, metrics.height())};
}

std::vector<DrawnText> MemoryChart::drawnTexts() const {
    std::vector<DrawnText> texts;
    const QFont font = labelFont();
    auto add = [&](const Label& label) {
        if (!label.text.isEmpty()) {
            texts.push_back({label.text, font, label.box.topLeft(), 1.0, false});
        }
    };
    for (const Label& label : axisLabels()) {
        add(label);
    }
    for (const Label& label : legendEntries()) {
        add(label);
    }
    for (const Label& label : markLabels()) {
        add(label);
    }
    if (auto label = levelLabel()) {
        add(*label);
    }
    if (auto label = readoutLabel()) {
        add(*label);
    }
    return texts;
}

void MemoryChart::paintGrid(QPainter& painter) const {
    const VelmoraPalette& palette = VelmoraPalette::current();
    const QRectF plot = plotRect();
    painter.setPen(QPen(palette.color(PaletteColor::insetStroke, 0.9), 1));
    for (double tick : valueAxis_.ticks) {
        const double y = std::round(positionOf({0, tick}).y()) + 0.5;
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    if (latestAgo() < 0) {
        const double x = positionOf({0, 0}).x();
        painter.setPen(QPen(palette.color(PaletteColor::mutedText, 0.45), 1, Qt::DotLine));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    painter.setFont(labelFont());
    painter.setPen(palette.color(PaletteColor::mutedText));
    for (const Label& label : axisLabels()) {
        painter.drawText(label.box, Qt::AlignLeft | Qt::AlignVCenter, label.text);
    }
}

void MemoryChart::paintSeries(QPainter& painter) const {
    if (data_.points.empty()) {
        return;
    }
    const QRectF& plot = plot_;
    // One polygon: the line, then down to the axis and back under it.
    QPolygonF area;
    area.reserve(static_cast<qsizetype>(data_.points.size()) + 2);
    for (const ChartPoint& point : data_.points) {
        area << positionOf(point);
    }
    const auto lineLength = area.size();
    area << QPointF(area.back().x(), plot.bottom()) << QPointF(area.front().x(), plot.bottom());
    const QColor tint = data_.tint.resolve();
    if (data_.bands.empty()) {
        QColor fill = tint;
        fill.setAlphaF(0.13);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawPolygon(area);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(tint, 2, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
    painter.drawPolyline(area.constData(), static_cast<int>(lineLength));
    if (data_.points.size() == 1) {
        painter.setBrush(tint);
        painter.drawEllipse(area.front(), 2.5, 2.5);
    }
}

void MemoryChart::paintBands(QPainter& painter) const {
    // Flat fills under an antialiased line: smoothing their edges would double the chart's cost
    // for nothing the eye sees.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const double bottom = plot_.bottom();
    const std::vector<double>* below = nullptr;
    for (const ChartBand& band : data_.bands) {
        const std::size_t count = band.topKiB.size();
        if (count == 0) {
            continue;
        }
        const std::size_t first = data_.points.size() - count;
        // Along the band's top, then back along the top of the band under it (or the axis).
        QPolygonF shape;
        shape.reserve(static_cast<qsizetype>(2 * count));
        for (std::size_t i = 0; i < count; ++i) {
            shape << positionOf({data_.points[first + i].agoSeconds, band.topKiB[i]});
        }
        for (std::size_t i = count; i-- > 0;) {
            // The band under this one may cover fewer points: the axis below those.
            double y = bottom;
            const std::size_t at = first + i;
            if (below != nullptr && at + below->size() >= data_.points.size()) {
                y = positionOf({0, (*below)[at + below->size() - data_.points.size()]}).y();
            }
            shape << QPointF(shape[static_cast<qsizetype>(i)].x(), y);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(band.tint.resolve());
        painter.drawPolygon(shape);
        below = &band.topKiB;
    }
    painter.restore();
}

void MemoryChart::paintLegend(QPainter& painter) const {
    const std::vector<Label> entries = legendEntries();
    if (entries.empty()) {
        return;
    }
    const VelmoraPalette& palette = VelmoraPalette::current();
    painter.setFont(labelFont());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const QRectF& box = entries[i].box;
        const QRectF swatch(box.left() - swatchSize - 4, box.center().y() - swatchSize / 2,
                            swatchSize, swatchSize);
        if (i == 0) {
            painter.setPen(QPen(data_.tint.resolve(), 2, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(QPointF(swatch.left(), swatch.center().y()),
                             QPointF(swatch.right(), swatch.center().y()));
        } else {
            painter.setPen(Qt::NoPen);
            painter.setBrush(data_.bands[i - 1].tint.resolve());
            painter.drawRoundedRect(swatch, 2, 2);
        }
        painter.setPen(palette.color(PaletteColor::mutedText));
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, entries[i].text);
    }
}

void MemoryChart::paintOverlays(QPainter& painter) const {
    const VelmoraPalette& palette = VelmoraPalette::current();
    const QRectF plot = plotRect();
    const std::vector<Label> marks = markLabels();
    painter.setFont(labelFont());
    for (std::size_t i = 0; i < data_.marks.size(); ++i) {
        const ChartMark& mark = data_.marks[i];
        const double x = positionOf({mark.agoSeconds, 0}).x();
        QColor rule = mark.tint.resolve();
        rule.setAlphaF(0.55);
        painter.setPen(QPen(rule, 1));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(mark.tint.resolve());
        painter.setBrush(mark.tint.resolve());
        painter.drawEllipse(QPointF(x, plot.top()), 2.5, 2.5);
        if (i < marks.size() && !marks[i].text.isEmpty()) {
            painter.drawText(marks[i].box, Qt::AlignLeft | Qt::AlignVCenter, marks[i].text);
        }
    }
    painter.setBrush(Qt::NoBrush);
    if (data_.trend) {
        const ChartLine& trend = *data_.trend;
        const QPointF from = positionOf(trend.from);
        const QPointF to = positionOf(trend.to);
        QPen pen(palette.color(PaletteColor::neutralText, 0.72), 1.5, Qt::DashLine, Qt::FlatCap);
        pen.setDashPattern({4, 3});
        painter.setPen(pen);
        if (trend.to.agoSeconds < 0 && trend.from.agoSeconds > 0) {
            // The part after now is a forecast: dotted.
            const double share =
                trend.from.agoSeconds / (trend.from.agoSeconds - trend.to.agoSeconds);
            const QPointF now = from + (to - from) * share;
            painter.drawLine(from, now);
            pen.setDashPattern({1, 3});
            pen.setCapStyle(Qt::RoundCap);
            painter.setPen(pen);
            painter.drawLine(now, to);
        } else {
            painter.drawLine(from, to);
        }
    }
    if (data_.level) {
        const QColor critical = palette.color(PaletteColor::criticalText);
        const double y = positionOf(data_.level->at).y();
        QPen pen(critical, 1.2, Qt::DashLine);
        pen.setDashPattern({5, 3});
        painter.setPen(pen);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setBrush(critical);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(positionOf(data_.level->at), 3, 3);
        if (auto label = levelLabel()) {
            painter.setPen(critical);
            painter.drawText(label->box, Qt::AlignLeft | Qt::AlignVCenter, label->text);
        }
    }
}

void MemoryChart::paintReadout(QPainter& painter) const {
    auto label = readoutLabel();
    if (!label) {
        return;
    }
    const VelmoraPalette& palette = VelmoraPalette::current();
    const QRectF plot = plotRect();
    const QPointF at = positionOf(data_.points[*cursor_]);
    painter.setPen(QPen(palette.color(PaletteColor::neutralText, 0.45), 1));
    painter.drawLine(QPointF(at.x(), plot.top()), QPointF(at.x(), plot.bottom()));
    painter.setBrush(data_.tint.resolve());
    painter.setPen(QPen(palette.color(PaletteColor::inset), 1.5));
    painter.drawEllipse(at, 3.5, 3.5);
    painter.setPen(QPen(palette.color(PaletteColor::coolStroke, 0.8), 1));
    painter.setBrush(palette.color(PaletteColor::coolSurface));
    painter.drawRoundedRect(label->box.adjusted(-3, -1, 3, 1), 4, 4);
    painter.setPen(palette.color(PaletteColor::neutralText));
    painter.drawText(label->box, Qt::AlignLeft | Qt::AlignVCenter, label->text);
}

void MemoryChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintGrid(painter);
    painter.save();
    painter.setClipRect(plotRect().adjusted(-4, -4, 4, 1));
    paintBands(painter);
    paintSeries(painter);
    painter.restore();
    paintLegend(painter);
    paintOverlays(painter);
    paintReadout(painter);
    if (hasFocus()) {
        QPen pen(VelmoraPalette::current().color(PaletteColor::primaryActionFill, 0.7), 1.5);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(plotRect().adjusted(-2, -2, 2, 2), 3, 3);
    }
}

void MemoryChart::mouseMoveEvent(QMouseEvent* event) {
    if (data_.points.empty()) {
        return;
    }
    const double x = event->position().x();
    std::size_t nearest = 0;
    double best = 1e18;
    for (std::size_t i = 0; i < data_.points.size(); ++i) {
        const double distance = std::abs(positionOf(data_.points[i]).x() - x);
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    setCursor(nearest);
}

void MemoryChart::leaveEvent(QEvent* event) {
    if (!hasFocus()) {
        setCursor(std::nullopt);
    }
    QWidget::leaveEvent(event);
}

void MemoryChart::keyPressEvent(QKeyEvent* event) {
    const std::size_t count = data_.points.size();
    if (count == 0 || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    const std::size_t last = count - 1;
    std::optional<std::size_t> next;
    switch (event->key()) {
    case Qt::Key_Left:
        next = cursor_ ? (*cursor_ > 0 ? *cursor_ - 1 : 0) : last;
        break;
    case Qt::Key_Right:
        next = cursor_ ? std::min(*cursor_ + 1, last) : last;
        break;
    case Qt::Key_Home:
        next = 0;
        break;
    case Qt::Key_End:
        next = last;
        break;
    default:
        QWidget::keyPressEvent(event); // Escape and the rest go on to the surface
        return;
    }
    setCursor(next);
    event->accept();
}

void MemoryChart::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void MemoryChart::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    setCursor(std::nullopt);
    update();
}

} // namespace velmora
