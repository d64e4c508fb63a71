// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/SystemStateHeader.h"

#include "state/SystemStateTexts.h"
#include "views/kit/CriticalAttention.h"
#include "views/kit/SurfacePainter.h"
#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraText.h"

#include <QBoxLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QResizeEvent>
#include <QShowEvent>
#include <cmath>

namespace velmora {

namespace {

// The critical pill breathes between these scales about its centre and lifts by half a pixel.
constexpr double pillRestScale = 0.98;
constexpr double pillBrightScale = 1.04;
constexpr double pillLift = 0.5;
constexpr double pillPaddingX = 12;
constexpr double pillPaddingY = 7;
constexpr double pillDot = 8;
constexpr double pillSpacing = 7;
// What the capsule holds beside its label: the padding on both sides, the dot and its gap.
constexpr double pillChrome = 2 * pillPaddingX + pillDot + pillSpacing;
// The header's row: the eyebrow's column, this gap, a spacer at least this wide, then the pill.
constexpr int headerRowSpacing = 12;
constexpr int headerSpacerMinimum = 8;

QFont pillFont() {
    QFont font = velmoraFont(TypeRole::tonePill);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    return font;
}

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

void PressurePill::setWidthLimit(double width) {
    if (width == widthLimit_) {
        return;
    }
    const QString before = shownText();
    widthLimit_ = width;
    if (shownText() != before) {
        updateGeometry();
        update();
    }
}

QString PressurePill::shownText() const {
    const QString text = displayText();
    if (!std::isfinite(widthLimit_)) {
        return text;
    }
    // The capsule's room for its scale grows with it: count it at the limit's size, less a
    // pixel on each side for the margins' rounding.
    const double grow = pillBrightScale - 1;
    const double capsule = (widthLimit_ - 2) / (1 + grow);
    const double room = std::max(0.0, capsule - pillChrome);
    const QFontMetricsF metrics(pillFont());
    if (metrics.horizontalAdvance(text) <= room) {
        return text;
    }
    return metrics.elidedText(text, Qt::ElideRight, room);
}

void PressurePill::setContent(const QString& pressureLabel, SnapshotTone tone, bool muted) {
    if (pressureLabel == label_ && tone == tone_ && muted == muted_) {
        return;
    }
    const bool geometry = pressureLabel != label_;
    label_ = pressureLabel;
    tone_ = tone;
    muted_ = muted;
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

QColor PressurePill::tint(double opacity) const {
    const auto& palette = VelmoraPalette::current();
    return muted_ ? palette.color(PaletteColor::mutedText, opacity)
                  : palette.toneTint(tone_, opacity);
}

void PressurePill::syncShadow() {
    if (!glows()) {
        setWidgetShadow(this, Qt::transparent, 0);
        return;
    }
    const auto& palette = VelmoraPalette::current();
    const double t = attention_;
    setWidgetShadow(this, palette.color(PaletteColor::criticalText, mix(0.08, 0.24, t)),
                    mix(4, 14, t));
}

QSizeF PressurePill::capsuleSize() const {
    const QFontMetricsF metrics(pillFont());
    return {pillChrome + metrics.horizontalAdvance(shownText()),
            std::max(pillDot, metrics.height()) + 2 * pillPaddingY};
}

// Half the growth of the largest scale on each side, the lift, and half a pixel for the
// antialiased edge, whatever the tone: the pill keeps its place when the tone turns critical.
QSizeF PressurePill::margins() const {
    const QSizeF capsule = capsuleSize();
    const double grow = (pillBrightScale - 1) / 2;
    return {std::ceil(capsule.width() * grow + 0.5),
            std::ceil(capsule.height() * grow + pillLift + 0.5)};
}

QRectF PressurePill::capsuleRect() const {
    const QSizeF margin = margins();
    return QRectF(rect()).adjusted(margin.width(), margin.height(), -margin.width(),
                                   -margin.height());
}

QTransform PressurePill::capsuleTransform() const {
    QTransform transform;
    if (!glows()) {
        return transform;
    }
    const QRectF capsule = capsuleRect();
    const double scale = mix(pillRestScale, pillBrightScale, attention_);
    const double lift = mix(pillLift, -pillLift, attention_);
    transform.translate(capsule.center().x(), capsule.center().y() + lift);
    transform.scale(scale, scale);
    transform.translate(-capsule.center().x(), -capsule.center().y());
    return transform;
}

QSize PressurePill::sizeHint() const {
    const QSizeF capsule = capsuleSize();
    const QSizeF margin = margins();
    return {static_cast<int>(std::ceil(capsule.width() + 2 * margin.width())),
            static_cast<int>(std::ceil(capsule.height() + 2 * margin.height()))};
}

// The label as painted, in the widget's coordinates (the transform applied).
std::vector<DrawnText> PressurePill::drawnTexts() const {
    const QFont font = pillFont();
    const QFontMetricsF metrics(font);
    const QRectF capsule = capsuleRect();
    const QTransform transform = capsuleTransform();
    const QPointF origin(capsule.left() + pillPaddingX + pillDot + pillSpacing,
                         capsule.center().y() - metrics.height() / 2);
    const QString shown = shownText();
    return {DrawnText{shown, font, transform.map(origin), transform.m11(), shown != displayText()}};
}

void PressurePill::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor tint = this->tint();
    const QRectF capsule = capsuleRect();
    painter.save();
    painter.setTransform(capsuleTransform(), true);
    painter.fillPath(capsuleShape(capsule), this->tint(mix(0.1, 0.2, attention_)));
    const QPointF dotCentre(capsule.left() + pillPaddingX + pillDot / 2, capsule.center().y());
    painter.setPen(Qt::NoPen);
    painter.setBrush(tint);
    painter.drawEllipse(dotCentre, pillDot / 2, pillDot / 2);
    painter.restore();
    painter.setPen(tint);
    for (const DrawnText& line : drawnTexts()) {
        painter.save();
        painter.setFont(line.font);
        painter.translate(line.origin);
        painter.scale(line.scale, line.scale);
        painter.drawText(QPointF(0, QFontMetricsF(line.font).ascent()), line.text);
        painter.restore();
    }
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

void UsedMemoryBar::setContent(double fraction, SnapshotTone tone, bool muted) {
    const double clamped = clampedFraction(fraction);
    if (clamped == fraction_ && tone == tone_ && muted == muted_) {
        return;
    }
    fraction_ = clamped;
    tone_ = tone;
    muted_ = muted;
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
        painter.fillPath(capsuleShape(filled), muted_ ? palette.color(PaletteColor::mutedText, 0.4)
                                                      : palette.toneTint(tone_, 0.72));
    }
}

SystemStateHeader::SystemStateHeader(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("systemStateHeader"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(7);

    auto* row = new QHBoxLayout();
    row->setSpacing(headerRowSpacing);
    auto* left = new QVBoxLayout();
    left->setSpacing(3);
    eyebrow_ = new VelmoraText(
        //: The eyebrow over the machine's memory figures, in capitals.
        tr("SYSTEM STATE"), TypeRole::eyebrow, {PaletteColor::mutedText, 1.0, {}}, this);
    eyebrow_->setObjectName(QStringLiteral("systemStateEyebrow"));
    eyebrow_->setTracking(1.3);
    eyebrow_->setLineLimit(1);
    headroom_ =
        new VelmoraText(QString(), TypeRole::caption, {PaletteColor::neutralText, 0.88, {}}, this);
    headroom_->setObjectName(QStringLiteral("headroomLabel"));
    headroom_->setRole(TypeRole::caption, QFont::DemiBold);
    headroom_->setLineLimit(1);
    headroom_->setMinimumScaleFactor(0.84);
    left->addWidget(eyebrow_);
    left->addWidget(headroom_);
    row->addLayout(left);
    row->addSpacerItem(
        new QSpacerItem(headerSpacerMinimum, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));

    auto* right = new QVBoxLayout();
    pill_ = new PressurePill(this);
    // The pill's room for its scale counts towards the 4 pixels between it and the scope.
    right->setSpacing(std::max(0, 4 - static_cast<int>(pill_->margins().height())));
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

void SystemStateHeader::setState(const SystemStateSnapshot& state, SnapshotTone tone,
                                 bool watching) {
    headroom_->setText(QString::fromStdString(headroomLineText(state)));
    scope_->setText(QString::fromStdString(scopeLineText(state)));
    // The last reading stays, dimmed, while nothing watches.
    headroom_->setColor({PaletteColor::neutralText, watching ? 0.88 : 0.5, {}});
    scope_->setColor({PaletteColor::mutedText, watching ? 1.0 : 0.62, {}});
    pill_->setContent(watching ? QString::fromStdString(pressurePillText(state))
                               //: The pressure pill while Velmora's monitor is not running.
                               : tr("Not watching"),
                      tone, !watching);
    // The scope line ends where the capsule ends, inside the pill's room for its scale.
    const int inset = static_cast<int>(pill_->margins().width());
    if (scope_->contentsMargins().right() != inset) {
        scope_->setContentsMargins(0, 0, inset, 0);
    }
    bar_->setContent(state.usedMemoryFraction, tone, !watching);
    const bool changed = hasState_ && (tone != tone_ || watching != watching_);
    tone_ = tone;
    watching_ = watching;
    hasState_ = true;
    if (changed) {
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

void SystemStateHeader::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    limitPill();
}

void SystemStateHeader::limitPill() {
    // The eyebrow's column never narrows below the eyebrow, whichever line on the right is long.
    const int eyebrow = eyebrow_->sizeHint().width();
    eyebrow_->setMinimumWidth(eyebrow);
    pill_->setWidthLimit(width() - eyebrow - headerRowSpacing - headerSpacerMinimum);
}

void SystemStateHeader::syncCriticalAttention() {
    attention_->reset();
    if (tone_ == SnapshotTone::critical && watching_) {
        attention_->brighten(motion(MotionName::criticalAttention));
    }
}

} // namespace velmora
