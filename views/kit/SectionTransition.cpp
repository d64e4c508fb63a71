// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/SectionTransition.h"

#include "views/kit/MotionAnimator.h"

#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <algorithm>

namespace velmora {

namespace {

QTransform transitionTransform(const TransitionStyle& style, const QRectF& rect, double progress) {
    const double hidden = 1.0 - progress;
    const QPointF shift = (style.offset + QPointF(style.offsetInSizes.x() * rect.width(),
                                                  style.offsetInSizes.y() * rect.height())) *
                          hidden;
    const double scale = style.scale + (1.0 - style.scale) * progress;
    const QPointF anchor(rect.left() + style.anchor.x() * rect.width(),
                         rect.top() + style.anchor.y() * rect.height());
    QTransform transform;
    transform.translate(shift.x() + anchor.x(), shift.y() + anchor.y());
    transform.scale(scale, scale);
    transform.translate(-anchor.x(), -anchor.y());
    return transform;
}

// The picture of a section that has just left, fading out over the place it had.
class RemovalGhost : public QWidget {
public:
    RemovalGhost(QWidget* parent, const QRect& geometry, QPixmap picture, TransitionStyle style)
        : QWidget(parent), picture_(std::move(picture)), style_(style) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setObjectName(QStringLiteral("transitionGhost"));
        // Room for the offset: the ghost covers its parent and paints the picture at `place_`.
        setGeometry(parent->rect());
        place_ = geometry;
        raise();
        show();
    }

    void setProgress(double progress) {
        progress_ = std::clamp(progress, 0.0, 1.2);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setOpacity(std::clamp(progress_, 0.0, 1.0));
        painter.setTransform(transitionTransform(style_, QRectF(place_), progress_));
        painter.drawPixmap(place_.topLeft(), picture_);
    }

private:
    QPixmap picture_;
    TransitionStyle style_;
    QRect place_;
    double progress_ = 1.0;
};

bool canAnimate(QWidget* section, const std::optional<VelmoraMotion>& motion) {
    return motion.has_value() && MotionAnimator::animationsEnabled() &&
           section->parentWidget() != nullptr && section->parentWidget()->isVisible();
}

} // namespace

TransitionEffect::TransitionEffect(TransitionStyle style, QObject* parent)
    : QGraphicsEffect(parent), style_(style) {}

// The moved picture covers a different area at every step: the parent repaints the area it
// covered before as well, or copies of it would stay behind where it passed.
void TransitionEffect::setProgress(double progress) {
    if (progress == progress_) {
        return;
    }
    progress_ = progress;
    updateBoundingRect();
    update();
}

QRectF TransitionEffect::boundingRectFor(const QRectF& rect) const {
    return transitionTransform(style_, rect, progress_).mapRect(rect).united(rect);
}

void TransitionEffect::draw(QPainter* painter) {
    QPoint offset;
    const QPixmap picture = sourcePixmap(Qt::LogicalCoordinates, &offset, NoPad);
    const QRectF rect(offset, picture.deviceIndependentSize());
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setOpacity(painter->opacity() * std::clamp(progress_, 0.0, 1.0));
    painter->setWorldTransform(transitionTransform(style_, rect, progress_), true);
    painter->drawPixmap(offset, picture);
    painter->restore();
}

void playInsertion(QWidget* section, const VelmoraMotion& motion,
                   const TransitionStyle& insertion) {
    auto* effect = new TransitionEffect(insertion, section);
    section->setGraphicsEffect(effect);
    QPointer<QWidget> guard(section);
    MotionAnimator::run(
        motion,
        [guard, effect](double progress) {
            if (!guard || guard->graphicsEffect() != effect) {
                return;
            }
            if (progress >= 1.0) {
                guard->setGraphicsEffect(nullptr);
                return;
            }
            effect->setProgress(progress);
        },
        section);
}

void playRemovalGhost(QWidget* section, const VelmoraMotion& motion,
                      const TransitionStyle& removal) {
    QWidget* parent = section->parentWidget();
    if (parent == nullptr || section->size().isEmpty()) {
        return;
    }
    auto* ghost = new RemovalGhost(parent, section->geometry(), section->grab(), removal);
    QPointer<RemovalGhost> guard(ghost);
    MotionAnimator::run(
        motion,
        [guard](double progress) {
            if (!guard) {
                return;
            }
            if (progress >= 1.0) {
                guard->deleteLater();
                return;
            }
            guard->setProgress(1.0 - progress);
        },
        parent);
}

void setSectionVisible(QWidget* section, bool visible, const std::optional<VelmoraMotion>& motion,
                       const TransitionStyle& insertion, const TransitionStyle& removal) {
    if (section->isHidden() != visible) {
        return;
    }
    if (!canAnimate(section, motion)) {
        section->setVisible(visible);
        return;
    }
    if (visible) {
        section->setVisible(true);
        playInsertion(section, *motion, insertion);
    } else {
        playRemovalGhost(section, *motion, removal);
        section->setVisible(false);
    }
}

} // namespace velmora
