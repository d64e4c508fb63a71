// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QString>
#include <QWidget>
#include <vector>

namespace velmora::testing {

// The descendant of `root` with that objectName (and type), or nullptr.
template <class W = QWidget> W* findByObjectName(const QWidget* root, const QString& name) {
    return root->findChild<W*>(name);
}

// The widget rendered into an image at device pixel ratio `dpr` (hidden widgets too).
QImage renderToImage(QWidget& widget, qreal dpr = 1.0);

// The colour of `image` at a point given in logical coordinates.
QColor pixelAt(const QImage& image, QPointF logical);

// True when the two colours differ by at most `tolerance` in every 8-bit channel.
bool colorsClose(const QColor& a, const QColor& b, int tolerance = 6);

// `over` drawn with its alpha onto the opaque `under`.
QColor composite(const QColor& over, const QColor& under);

// Counts the paint events of a widget and all its descendants while it lives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* root);
    int count() const { return count_; }
    void reset() { count_ = 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int count_ = 0;
};

// Lets queued events (shows, deferred deletes, repaints) run.
void settle();

// Objects under `root` that are widgets, including not yet deleted ones.
int widgetCount(const QWidget* root);

// The visible descendants of `parent`'s layout in top-to-bottom order (by y).
std::vector<QWidget*> visibleChildrenByY(const QWidget* parent);

} // namespace velmora::testing
