// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/ChartScale.h"
#include "views/kit/DrawnText.h"
#include "views/kit/VelmoraPalette.h"

#include <QDateTime>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

namespace velmora {

// One value of a memory chart: a size in KiB, `agoSeconds` before now.
struct ChartPoint {
    double agoSeconds = 0;
    double kib = 0;

    bool operator==(const ChartPoint&) const = default;
};

// A straight line drawn over the series (a trend), from one moment and size to another. When
// it ends after now, the part after now is dotted: it is a forecast.
struct ChartLine {
    ChartPoint from;
    ChartPoint to;

    bool operator==(const ChartLine&) const = default;
};

// A moment marked on the time axis with a short label in its tint ("suspect").
struct ChartMark {
    double agoSeconds = 0;
    QString label;
    ColorRef tint;

    bool operator==(const ChartMark&) const = default;
};

// A size level that is reached at a moment (negative ago: after now), drawn as a dashed rule
// across the chart with its label ("Runs out in 20 min").
struct ChartLevel {
    ChartPoint at;
    QString label;

    bool operator==(const ChartLevel&) const = default;
};

// One part of the footprint stacked under the line ("anonymous"): where its top lies at each
// of the newest points, the bands under it included. `topKiB` covers the newest
// `topKiB.size()` points.
struct ChartBand {
    QString label;
    ColorRef tint;
    std::vector<double> topKiB;

    bool operator==(const ChartBand&) const = default;
};

// Everything a memory chart shows. The points are oldest first.
struct MemoryChartData {
    std::vector<ChartPoint> points;
    // The footprint's parts, bottom first, with a legend that names them and the line.
    std::vector<ChartBand> bands;
    QString lineLabel;
    // The moment "now" stands for: the time axis then reads clock times, weekdays or dates.
    std::optional<QDateTime> now;
    std::optional<ChartLine> trend;
    std::vector<ChartMark> marks;
    std::optional<ChartLevel> level;
    ColorRef tint;
    // Said to assistive technology as the chart's description.
    QString summary;

    bool operator==(const MemoryChartData&) const = default;
};

// A line chart of memory over time, painted with QPainter: the series over a light area (or over
// the bands of its parts, with a legend under the chart), a size axis in MB or GB, a time axis
// in clock times, weekdays or dates (or minutes, hours or days before now without a clock), the
// trend, the marks and a level. Under the pointer, or with the arrow keys once it has the focus
// (Home and End jump to the ends), a readout says the time and value of the nearest point. It
// repaints only when its data, its size, its readout or the appearance change.
//
// Object name: "memoryChart".
class MemoryChart : public QWidget, public DrawsText {
    Q_OBJECT
public:
    static constexpr int chartHeight = 150;
    // Added under the chart when it has bands to name.
    static constexpr int legendHeight = 16;
    // A series longer than this keeps its newest points.
    static constexpr std::size_t maxPoints = 720;

    explicit MemoryChart(QWidget* parent = nullptr);

    void setData(MemoryChartData data);
    const MemoryChartData& data() const { return data_; }
    // How many times the data changed: each change repaints once, an equal one never does.
    uint64_t revision() const { return revision_; }

    // The axes as drawn: values in KiB, time in seconds before now.
    const AxisTicks& valueAxis() const { return valueAxis_; }
    // The time ticks from left to right (seconds before now, the oldest first).
    std::vector<double> timeTicks() const;
    QStringList valueLabels() const;
    QStringList timeLabels() const;
    // The legend's entries as drawn, the line first ("footprint", "anonymous", "swapped").
    QStringList legendLabels() const;
    // Where the plot lies in the widget, and where a moment and size land in it.
    QRectF plotRect() const;
    QPointF positionOf(const ChartPoint& point) const;

    // The point under the readout, if any, and what the readout says: "14:05 · 412.3 MB" (with
    // no clock: "12 min ago · 412.3 MB").
    std::optional<std::size_t> cursor() const { return cursor_; }
    void setCursor(std::optional<std::size_t> index);
    QString readoutText() const;

    std::vector<DrawnText> drawnTexts() const override;
    QSize sizeHint() const override { return {384, chartHeight}; }
    QSize minimumSizeHint() const override { return {160, chartHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Label {
        QString text;
        QRectF box;
    };
    void rescale();
    void placePlot();
    double oldestAgo() const { return oldest_; }
    double latestAgo() const { return latest_; }
    QString timeLabel(double tick, bool bare) const;
    std::vector<Label> axisLabels() const;
    std::vector<Label> legendEntries() const;
    std::vector<Label> markLabels() const;
    std::optional<Label> levelLabel() const;
    std::optional<Label> readoutLabel() const;
    void paintGrid(QPainter& painter) const;
    void paintSeries(QPainter& painter) const;
    void paintBands(QPainter& painter) const;
    void paintLegend(QPainter& painter) const;
    void paintOverlays(QPainter& painter) const;
    void paintReadout(QPainter& painter) const;

    MemoryChartData data_;
    uint64_t revision_ = 0;
    AxisTicks valueAxis_;
    SizeUnit sizeUnit_ = SizeUnit::megabytes;
    TimeUnit timeUnit_ = TimeUnit::minutes;
    double oldest_ = 60; // seconds before now at the left edge
    double latest_ = 0;  // ... and at the right edge (negative: after now)
    QRectF plot_;
    std::optional<std::size_t> cursor_;
};

} // namespace velmora
