// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PopoverSnapshot.h"
#include "views/kit/DrawnText.h"

#include <QTransform>
#include <QWidget>
#include <limits>

namespace velmora {

class CriticalAttention;
class VelmoraText;

// The capsule that shows the memory pressure in the tone's tint; under a critical tone it
// brightens once (glow, scale, lift) when the tone turns critical. The widget keeps room around
// the capsule for its largest scale and lift, so the capsule is never cut at its ends.
class PressurePill : public QWidget, public DrawsText {
    Q_OBJECT
public:
    explicit PressurePill(QWidget* parent = nullptr);

    // `muted`: the pill stands for no tone (the monitor is not watching): grey, and it never
    // glows.
    void setContent(const QString& pressureLabel, SnapshotTone tone, bool muted = false);
    void setAttention(double level);
    QString displayText() const;
    // The widest the whole pill may be: a longer label is cut with an ellipsis to fit.
    void setWidthLimit(double width);
    SnapshotTone tone() const { return tone_; }
    bool isMuted() const { return muted_; }
    QColor tint(double opacity = 1.0) const;
    double attention() const { return attention_; }

    // The room kept on each side of the capsule: left and right, top and bottom.
    QSizeF margins() const;
    // The capsule at rest and the transform it is painted with now (scale and lift).
    QRectF capsuleRect() const;
    QTransform capsuleTransform() const;
    std::vector<DrawnText> drawnTexts() const override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void syncShadow();
    QSizeF capsuleSize() const;
    // The label as painted: the display text, cut to the width limit where it is longer.
    QString shownText() const;
    bool glows() const { return tone_ == SnapshotTone::critical && !muted_; }

    QString label_;
    SnapshotTone tone_ = SnapshotTone::allClear;
    bool muted_ = false;
    double attention_ = 0;
    double widthLimit_ = std::numeric_limits<double>::infinity();
};

// The 4-pixel bar filled to the used-memory fraction in the tone's tint.
class UsedMemoryBar : public QWidget {
    Q_OBJECT
public:
    explicit UsedMemoryBar(QWidget* parent = nullptr);

    // 0 for a fraction that is not finite or not positive, 1 above 1, else the fraction.
    static double clampedFraction(double fraction);

    // `muted`: filled in grey, for a reading that is out of date.
    void setContent(double fraction, SnapshotTone tone, bool muted = false);
    double fraction() const { return fraction_; }
    // The width of the filled part at the current width.
    double filledWidth() const;

    QSize sizeHint() const override { return {100, 4}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double fraction_ = 0;
    SnapshotTone tone_ = SnapshotTone::allClear;
    bool muted_ = false;
};

// The topmost section of the card: "SYSTEM STATE", the headroom line, the pressure pill, the
// scope line and the used-memory bar. While the monitor is not watching (`watching` false) the
// pill reads "Not watching" in grey and the last reading under it is dimmed: it is out of date.
class SystemStateHeader : public QWidget {
    Q_OBJECT
public:
    explicit SystemStateHeader(QWidget* parent = nullptr);

    void setState(const SystemStateSnapshot& state, SnapshotTone tone, bool watching = true);
    double attention() const;
    bool isWatching() const { return watching_; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void syncCriticalAttention();
    // The pill never takes the room the eyebrow needs to show whole.
    void limitPill();

    VelmoraText* eyebrow_;
    VelmoraText* headroom_;
    VelmoraText* scope_;
    PressurePill* pill_;
    UsedMemoryBar* bar_;
    CriticalAttention* attention_;
    SnapshotTone tone_ = SnapshotTone::allClear;
    bool watching_ = true;
    bool hasState_ = false;
};

} // namespace velmora
