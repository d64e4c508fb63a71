#include "views/SystemStateHeader.h"

#include "views/CriticalAttention.h"
#include "views/SurfacePainter.h"
#include "views/VelmoraPalette.h"
#include "views/VelmoraText.h"

#include <QBoxLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QShowEvent>
#include <cmath>

namespace velmora {

namespace {

constexpr double pillMargin = 2; // room for the pill's 1.04 scale

} // namespace

PressurePill::PressurePill(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pressurePill"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    repaintOnAppearanceChange(this);
    connect(&PaletteNotifier::instance(), &PaletteNotifier::changed, this,
            [this] { syncShadow(); });
}

QString PressurePill::displayText() const {
    return label_.toUpper();
}

void PressurePill::setContent(const QString& pressureLabel, SnapshotTone tone) {
    if (pressureLabel == label_ && tone == tone_) {
        return;
    }
    const bool geometry = pressureLabel != label_;
    label_ = pressureLabel;
    tone_ = tone;
    setAccessibleName(displayText());
    if (geometry) {
        updateGeometry();
    }
    syncShadow();
    update();
}

void PressurePill::setAttention(double level) {
    if (level == attention_) {
        return;
    }
    attention_ = level;
    syncShadow();
    update();
}

void PressurePill::syncShadow() {
    if (tone_ != SnapshotTone::critical) {
        setWidgetShadow(this, Qt::transparent, 0);
        return;
    }
    const auto& palette = VelmoraPalette::current();
    const double t = attention_;
    setWidgetShadow(this, palette.color(PaletteColor::criticalText, mix(0.08, 0.24, t)),
                    mix(4, 14, t));
}

static QFont pillFont() {
    QFont font = velmoraFont(TypeRole::tonePill);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    return font;
}

QSize PressurePill::sizeHint() const {
    const QFontMetricsF metrics(pillFont());
    const double width = 12 + 8 + 7 + metrics.horizontalAdvance(displayText()) + 12;
    const double height = std::max(8.0, metrics.height()) + 2 * 7;
    return {static_cast<int>(std::ceil(width + 2 * pillMargin)),
            static_cast<int>(std::ceil(height + 2 * pillMargin))};
}

void PressurePill::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto& palette = VelmoraPalette::current();
    const QColor tint = palette.toneTint(tone_);
    const QRectF capsule =
        QRectF(rect()).adjusted(pillMargin, pillMargin, -pillMargin, -pillMargin);
    if (tone_ == SnapshotTone::critical) {
        const double scale = mix(0.98, 1.04, attention_);
        const double lift = mix(0.5, -0.5, attention_);
        painter.translate(capsule.center() + QPointF(0, lift));
        painter.scale(scale, scale);
        painter.translate(-capsule.center());
    }
    painter.fillPath(capsuleShape(capsule), palette.toneTint(tone_, mix(0.1, 0.2, attention_)));
    const QFont font = pillFont();
    const QFontMetricsF metrics(font);
    const QPointF dotCentre(capsule.left() + 12 + 4, capsule.center().y());
    painter.setPen(Qt::NoPen);
    painter.setBrush(tint);
    painter.drawEllipse(dotCentre, 4, 4);
    painter.setFont(font);
    painter.setPen(tint);
    const double baseline = capsule.center().y() - metrics.height() / 2 + metrics.ascent();
    painter.drawText(QPointF(capsule.left() + 12 + 8 + 7, baseline), displayText());
}

UsedMemoryBar::UsedMemoryBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("usedMemoryBar"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(4);
    repaintOnAppearanceChange(this);
}

double UsedMemoryBar::clampedFraction(double fraction) {
    if (!std::isfinite(fraction) || fraction <= 0) {
        return 0;
    }
    return std::min(fraction, 1.0);
}

void UsedMemoryBar::setContent(double fraction, SnapshotTone tone) {
    const double clamped = clampedFraction(fraction);
    if (clamped == fraction_ && tone == tone_) {
        return;
    }
    fraction_ = clamped;
    tone_ = tone;
    setAccessibleName(tr("Memory used"));
    update();
}

double UsedMemoryBar::filledWidth() const {
    return width() * fraction_;
}

void UsedMemoryBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto& palette = VelmoraPalette::current();
    const QRectF track = QRectF(rect());
    painter.fillPath(capsuleShape(track), palette.color(PaletteColor::insetStroke, 0.28));
    if (fraction_ > 0) {
        const QRectF filled(track.left(), track.top(), filledWidth(), track.height());
        painter.fillPath(capsuleShape(filled), palette.toneTint(tone_, 0.72));
    }
}

SystemStateHeader::SystemStateHeader(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("systemStateHeader"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(7);

    auto* row = new QHBoxLayout();
    row->setSpacing(12);
    auto* left = new QVBoxLayout();
    left->setSpacing(3);
    auto* eyebrow = new VelmoraText(QStringLiteral("SYSTEM STATE"), TypeRole::eyebrow,
                                    {PaletteColor::mutedText, 1.0, {}}, this);
    eyebrow->setObjectName(QStringLiteral("systemStateEyebrow"));
    eyebrow->setTracking(1.3);
    eyebrow->setLineLimit(1);
    headroom_ =
        new VelmoraText(QString(), TypeRole::caption, {PaletteColor::neutralText, 0.88, {}}, this);
    headroom_->setObjectName(QStringLiteral("headroomLabel"));
    headroom_->setRole(TypeRole::caption, QFont::DemiBold);
    headroom_->setLineLimit(1);
    headroom_->setMinimumScaleFactor(0.84);
    left->addWidget(eyebrow);
    left->addWidget(headroom_);
    row->addLayout(left);
    row->addSpacerItem(new QSpacerItem(8, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));

    auto* right = new QVBoxLayout();
    right->setSpacing(4 - 2 * static_cast<int>(pillMargin)); // the pill's margin counts
    pill_ = new PressurePill(this);
    scope_ =
        new VelmoraText(QString(), TypeRole::caption, {PaletteColor::mutedText, 1.0, {}}, this);
    scope_->setObjectName(QStringLiteral("scopeLabel"));
    scope_->setLineLimit(1);
    scope_->setTruncation(VelmoraText::Truncation::middle);
    scope_->setTextAlignment(Qt::AlignRight);
    right->addWidget(pill_, 0, Qt::AlignRight);
    right->addWidget(scope_, 0, Qt::AlignRight);
    row->addLayout(right, 0);
    column->addLayout(row);

    bar_ = new UsedMemoryBar(this);
    column->addWidget(bar_);

    attention_ = new CriticalAttention([this] { pill_->setAttention(attention_->level()); }, this);
}

void SystemStateHeader::setState(const SystemStateSnapshot& state, SnapshotTone tone) {
    headroom_->setText(QString::fromStdString(state.headroomLabel));
    scope_->setText(QString::fromStdString(state.scopeLabel));
    pill_->setContent(QString::fromStdString(state.pressureLabel), tone);
    bar_->setContent(state.usedMemoryFraction, tone);
    const bool toneChanged = hasState_ && tone != tone_;
    tone_ = tone;
    hasState_ = true;
    if (toneChanged) {
        syncCriticalAttention();
    }
}

double SystemStateHeader::attention() const {
    return attention_->level();
}

void SystemStateHeader::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        syncCriticalAttention();
    }
}

void SystemStateHeader::syncCriticalAttention() {
    attention_->reset();
    if (tone_ == SnapshotTone::critical) {
        attention_->brighten(motion(MotionName::criticalAttention));
    }
}

} // namespace velmora
