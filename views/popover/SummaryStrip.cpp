// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/SummaryStrip.h"

#include "views/kit/CriticalAttention.h"
#include "views/kit/SurfacePainter.h"
#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraText.h"

#include <QBoxLayout>
#include <QPainter>
#include <QShowEvent>

namespace velmora {

SummaryStrip::SummaryStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("summaryStrip"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(16, 12, 16, 12);
    text_ = new VelmoraText(QString(), TypeRole::summary, {PaletteColor::mutedText, 1.0, {}}, this);
    text_->setObjectName(QStringLiteral("summaryText"));
    text_->setTracking(1.1);
    text_->setLineLimit(1);
    row->addWidget(text_);
    row->addStretch(1);
    glow_ = new CriticalAttention(
        [this] {
            syncShadow();
            update();
        },
        this);
    repaintOnAppearanceChange(this);
    connect(&PaletteNotifier::instance(), &PaletteNotifier::changed, this,
            [this] { syncShadow(); });
}

void SummaryStrip::setContent(const QString& summaryText, SnapshotTone tone) {
    text_->setText(summaryText);
    if (hasContent_ && tone == tone_) {
        return;
    }
    const bool toneChanged = hasContent_;
    tone_ = tone;
    hasContent_ = true;
    if (toneChanged) {
        syncCriticalGlow();
    }
    syncShadow();
    update();
}

double SummaryStrip::glow() const {
    return glow_->level();
}

void SummaryStrip::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        syncCriticalGlow();
    }
}

void SummaryStrip::syncCriticalGlow() {
    glow_->reset();
    if (tone_ == SnapshotTone::critical) {
        glow_->brighten(motion(MotionName::criticalAttention));
    }
}

void SummaryStrip::syncShadow() {
    if (tone_ != SnapshotTone::critical) {
        setWidgetShadow(this, Qt::transparent, 0);
        return;
    }
    const double t = glow_->level();
    setWidgetShadow(this, VelmoraPalette::current().color(PaletteColor::criticalText, 0.16 * t),
                    12 * t);
}

void SummaryStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const auto& palette = VelmoraPalette::current();
    const QRectF bounds = QRectF(rect());
    const bool critical = tone_ == SnapshotTone::critical;
    const double t = glow_->level();
    const double tintOpacity = critical ? mix(0.08, 0.18, t) : 0.04;
    const QColor border = critical ? palette.color(PaletteColor::criticalText, mix(0.24, 0.52, t))
                                   : palette.color(PaletteColor::insetStroke, 0.9);
    paintSurface(painter, bounds, 15,
                 diagonalGradient(bounds, palette.color(PaletteColor::inset),
                                  palette.toneTint(tone_, tintOpacity)),
                 border);
}

} // namespace velmora
