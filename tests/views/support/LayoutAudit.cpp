// SPDX-License-Identifier: GPL-3.0-or-later
#include "LayoutAudit.h"

#include "views/kit/DrawnText.h"

#include <QAbstractScrollArea>
#include <QBoxLayout>
#include <QFontMetricsF>
#include <QRectF>

namespace velmora::testing {

namespace {

// Antialiasing and rounding of fractional positions.
constexpr double tolerance = 0.5;
constexpr int charactersBeforeEllipsis = 3;

QString segment(const QWidget* widget) {
    const QString name = widget->objectName().isEmpty()
                             ? QString::fromLatin1(widget->metaObject()->className())
                             : widget->objectName();
    const QWidget* parent = widget->parentWidget();
    if (parent == nullptr) {
        return name;
    }
    int index = 0;
    int same = 0;
    for (const QObject* sibling : parent->children()) {
        const auto* other = qobject_cast<const QWidget*>(sibling);
        if (other == nullptr) {
            continue;
        }
        const QString otherName = other->objectName().isEmpty()
                                      ? QString::fromLatin1(other->metaObject()->className())
                                      : other->objectName();
        if (otherName != name) {
            continue;
        }
        if (other == widget) {
            index = same;
        }
        ++same;
    }
    return same > 1 ? QStringLiteral("%1[%2]").arg(name).arg(index) : name;
}

std::vector<const QWidget*> shownWidgets(const QWidget* root) {
    std::vector<const QWidget*> widgets{root};
    for (const QWidget* child : root->findChildren<QWidget*>()) {
        if (isShownUnder(child, root)) {
            widgets.push_back(child);
        }
    }
    return widgets;
}

bool isScrollViewport(const QWidget* widget) {
    const auto* area = qobject_cast<const QAbstractScrollArea*>(
        widget->parentWidget() ? widget->parentWidget() : nullptr);
    return area != nullptr && area->viewport() == widget;
}

QString describe(const QRectF& rect) {
    return QStringLiteral("x %1..%2, y %3..%4")
        .arg(rect.left(), 0, 'f', 1)
        .arg(rect.right(), 0, 'f', 1)
        .arg(rect.top(), 0, 'f', 1)
        .arg(rect.bottom(), 0, 'f', 1);
}

int charactersBefore(const QString& text, const QString& mark) {
    const qsizetype at = text.indexOf(mark);
    const QString kept = (at < 0 ? text : text.left(at)).trimmed();
    return static_cast<int>(kept.size());
}

} // namespace

QString widgetPath(const QWidget* widget, const QWidget* root) {
    QStringList segments;
    for (const QWidget* at = widget; at != nullptr; at = at->parentWidget()) {
        segments.prepend(segment(at));
        if (at == root) {
            break;
        }
    }
    return segments.join(QLatin1Char('/'));
}

bool isShownUnder(const QWidget* widget, const QWidget* root) {
    for (const QWidget* at = widget; at != nullptr; at = at->parentWidget()) {
        if (at->isHidden()) {
            return false;
        }
        if (at == root) {
            return true;
        }
    }
    return false;
}

std::vector<QString> textOverflows(const QWidget* root) {
    std::vector<QString> findings;
    for (const QWidget* widget : shownWidgets(root)) {
        const auto* drawing = dynamic_cast<const DrawsText*>(widget);
        if (drawing == nullptr) {
            continue;
        }
        const QRectF contents = QRectF(widget->contentsRect());
        for (const DrawnText& line : drawing->drawnTexts()) {
            const QFontMetricsF metrics(line.font);
            const QRectF box(line.origin, QSizeF(metrics.horizontalAdvance(line.text) * line.scale,
                                                 metrics.height() * line.scale));
            const QString where =
                QStringLiteral("%1: \"%2\"").arg(widgetPath(widget, root), line.text);
            if (box.left() < contents.left() - tolerance ||
                box.right() > contents.right() + tolerance) {
                findings.push_back(QStringLiteral("%1 is drawn %2 px wide at %3 in a contents rect "
                                                  "of %4 px (%5)")
                                       .arg(where)
                                       .arg(box.width(), 0, 'f', 1)
                                       .arg(describe(box))
                                       .arg(contents.width(), 0, 'f', 1)
                                       .arg(describe(contents)));
            }
            if (box.top() < contents.top() - tolerance ||
                box.bottom() > contents.bottom() + tolerance) {
                findings.push_back(QStringLiteral("%1 is drawn %2 px tall at %3 in a contents rect "
                                                  "of %4 px (%5)")
                                       .arg(where)
                                       .arg(box.height(), 0, 'f', 1)
                                       .arg(describe(box))
                                       .arg(contents.height(), 0, 'f', 1)
                                       .arg(describe(contents)));
            }
            if (line.elided) {
                const QString ellipsis = QStringLiteral("\u2026");
                if (!line.text.contains(ellipsis)) {
                    findings.push_back(QStringLiteral("%1 is cut without an ellipsis").arg(where));
                } else if (charactersBefore(line.text, ellipsis) < charactersBeforeEllipsis) {
                    findings.push_back(QStringLiteral("%1 keeps %2 characters before its ellipsis "
                                                      "in %3 px (at least %4 wanted)")
                                           .arg(where)
                                           .arg(charactersBefore(line.text, ellipsis))
                                           .arg(contents.width(), 0, 'f', 1)
                                           .arg(charactersBeforeEllipsis));
                }
            }
        }
    }
    return findings;
}

std::vector<QString> childrenOutsideParents(const QWidget* root) {
    std::vector<QString> findings;
    for (const QWidget* widget : shownWidgets(root)) {
        if (widget == root || widget->isWindow()) {
            continue;
        }
        const QWidget* parent = widget->parentWidget();
        const QRect bounds = parent->rect();
        const QRect place = widget->geometry();
        const bool scrolls = isScrollViewport(parent);
        const bool outside =
            place.left() < bounds.left() || place.right() > bounds.right() ||
            (!scrolls && (place.top() < bounds.top() || place.bottom() > bounds.bottom()));
        if (outside) {
            findings.push_back(QStringLiteral("%1 at %2 %3x%4 lies outside its parent's %5x%6")
                                   .arg(widgetPath(widget, root))
                                   .arg(QStringLiteral("(%1, %2)").arg(place.x()).arg(place.y()))
                                   .arg(place.width())
                                   .arg(place.height())
                                   .arg(bounds.width())
                                   .arg(bounds.height()));
        }
    }
    return findings;
}

std::vector<QString> emptyBands(const QWidget* root) {
    std::vector<QString> findings;
    for (const QWidget* widget : shownWidgets(root)) {
        const QWidget* parent = widget->parentWidget();
        if (widget == root || parent == nullptr || widget->layout() == nullptr) {
            continue;
        }
        const auto* stack = qobject_cast<const QBoxLayout*>(parent->layout());
        if (stack == nullptr || stack->direction() != QBoxLayout::TopToBottom ||
            stack->indexOf(const_cast<QWidget*>(widget)) < 0) {
            continue;
        }
        const int content = widget->hasHeightForWidth() ? widget->heightForWidth(widget->width())
                                                        : widget->sizeHint().height();
        const int wanted = std::max(content, widget->minimumHeight());
        if (widget->height() > wanted + 1) {
            findings.push_back(QStringLiteral("%1 is %2 px high for %3 px of content: an empty "
                                              "band of %4 px")
                                   .arg(widgetPath(widget, root))
                                   .arg(widget->height())
                                   .arg(wanted)
                                   .arg(widget->height() - wanted));
        }
    }
    return findings;
}

std::map<QString, int> shownHeights(const QWidget* root) {
    std::map<QString, int> heights;
    for (const QWidget* widget : shownWidgets(root)) {
        heights[widgetPath(widget, root)] = widget->height();
    }
    return heights;
}

std::vector<QString> heightChanges(const std::map<QString, int>& first,
                                   const std::map<QString, int>& second) {
    std::vector<QString> findings;
    for (const auto& [path, height] : first) {
        const auto found = second.find(path);
        if (found == second.end()) {
            findings.push_back(QStringLiteral("%1 (%2 px high) is gone after the second render")
                                   .arg(path)
                                   .arg(height));
        } else if (found->second != height) {
            findings.push_back(QStringLiteral("%1 is %2 px high, %3 px after the second render")
                                   .arg(path)
                                   .arg(height)
                                   .arg(found->second));
        }
    }
    for (const auto& [path, height] : second) {
        if (first.count(path) == 0) {
            findings.push_back(
                QStringLiteral("%1 (%2 px high) appears only after the second render")
                    .arg(path)
                    .arg(height));
        }
    }
    return findings;
}

} // namespace velmora::testing
