// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SettingsWidgets.h"

#include "views/kit/VelmoraSymbols.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QVBoxLayout>

namespace velmora {
namespace {

// Room kept between a revealed disclosure and the edges of its page.
constexpr int revealMargin = 8;

// The header of a disclosure group: a flat arrow and title whose open state shows in the arrow
// alone (a checked tool button would be drawn pressed in).
class DisclosureHeader : public QToolButton {
public:
    explicit DisclosureHeader(QWidget* parent) : QToolButton(parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        option.state &= ~QStyle::State_On;
        painter.drawComplexControl(QStyle::CC_ToolButton, option);
    }
};

QScrollArea* enclosingScrollArea(QWidget* widget) {
    for (QWidget* at = widget->parentWidget(); at != nullptr; at = at->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(at)) {
            return area;
        }
    }
    return nullptr;
}

// A standard window palette made of the appearance's own colours.
QPalette paletteOf(const VelmoraPalette& colors) {
    const QColor text = colors.color(PaletteColor::neutralText);
    const QColor muted = colors.color(PaletteColor::mutedText);
    QPalette palette(colors.color(PaletteColor::utilityChip), colors.color(PaletteColor::shell));
    for (const auto role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText}) {
        palette.setColor(role, text);
        palette.setColor(QPalette::Disabled, role, colors.color(PaletteColor::mutedText, 0.6));
    }
    palette.setColor(QPalette::Base, colors.color(PaletteColor::inset));
    palette.setColor(QPalette::AlternateBase, colors.color(PaletteColor::utilitySurface));
    palette.setColor(QPalette::ToolTipBase, colors.color(PaletteColor::inset));
    palette.setColor(QPalette::PlaceholderText, muted);
    palette.setColor(QPalette::Highlight, colors.color(PaletteColor::coolStroke));
    palette.setColor(QPalette::HighlightedText, colors.color(PaletteColor::shell));
    palette.setColor(QPalette::Link, colors.color(PaletteColor::coolStroke));
    palette.setColor(QPalette::LinkVisited, colors.color(PaletteColor::coolStroke));
    return palette;
}

} // namespace

QLabel* settingsCaption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFont(velmoraFont(TypeRole::caption));
    followPaletteColor(label, QPalette::WindowText, PaletteColor::mutedText);
    return label;
}

QScrollArea* verticalScrollPage(QWidget* content, QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidgetResizable(true);
    area->setWidget(content);
    return area;
}

QIcon symbolIcon(std::string_view name, int size, const VelmoraPalette& palette) {
    QIcon icon;
    const std::pair<QIcon::State, PaletteColor> tints[] = {{QIcon::On, PaletteColor::neutralText},
                                                           {QIcon::Off, PaletteColor::mutedText}};
    for (const auto& [state, color] : tints) {
        for (const qreal scale : {1.0, 2.0}) {
            QPixmap pixmap(QSize(size, size) * scale);
            pixmap.setDevicePixelRatio(scale);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            paintSymbol(painter, name, QRectF(0, 0, size, size), palette.color(color));
            painter.end();
            icon.addPixmap(pixmap, QIcon::Normal, state);
        }
    }
    return icon;
}

QPalette appearanceWindowPalette() {
    const VelmoraPalette& colors = VelmoraPalette::current();
    const QPalette application = QApplication::palette();
    const bool applicationIsDark = application.color(QPalette::Window).lightnessF() < 0.5;
    return applicationIsDark == colors.isDark() ? application : paletteOf(colors);
}

void followAppearance(QWidget* window) {
    auto apply = [window] {
        const QPalette palette = appearanceWindowPalette();
        // A palette equal to the application's is inherited, so that later changes of the
        // desktop theme reach the window too.
        window->setPalette(palette == QApplication::palette() ? QPalette() : palette);
    };
    apply();
    QObject::connect(&PaletteNotifier::instance(), &PaletteNotifier::changed, window, apply);
}

SettingsGroup::SettingsGroup(const QString& title, QWidget* parent)
    : QGroupBox(QString(title).replace(QLatin1Char('&'), QStringLiteral("&&")), parent) {
    // The box carries the title font; the controls sit in an inner widget that goes back to
    // the application font. (A style sheet would cut the box off the window's palette.)
    QFont titleFont = font();
    titleFont.setPixelSize(15);
    titleFont.setWeight(QFont::DemiBold);
    setFont(titleFont);
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    auto* inner = new QWidget(this);
    inner->setObjectName(QStringLiteral("settingsGroupBody"));
    QFont bodyFont = QApplication::font();
    bodyFont.setWeight(bodyFont.weight()); // set, not inherited from the title font
    if (bodyFont.pixelSize() > 0) {
        bodyFont.setPixelSize(bodyFont.pixelSize());
    } else {
        bodyFont.setPointSizeF(bodyFont.pointSizeF());
    }
    inner->setFont(bodyFont);
    frame->addWidget(inner);
    body_ = new QVBoxLayout(inner);
    body_->setSpacing(8);
}

SettingsLine::SettingsLine(const QString& title, QWidget* parent)
    : QWidget(parent), value_(new QLabel(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* titleLabel = settingsCaption(title, this);
    titleLabel->setObjectName(QStringLiteral("settingsLineTitle"));
    layout->addWidget(titleLabel);
    value_->setObjectName(QStringLiteral("settingsLineValue"));
    value_->setTextFormat(Qt::PlainText);
    value_->setWordWrap(true);
    value_->setFont(velmoraFont(TypeRole::body));
    value_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(value_);
    setAccessibleName(title);
}

void SettingsLine::setValue(const QString& value) {
    value_->setText(value);
}

DisclosureGroup::DisclosureGroup(const QString& title, QWidget* parent)
    : QWidget(parent), header_(new DisclosureHeader(this)), container_(new QWidget(this)),
      body_(new QVBoxLayout(container_)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    header_->setText(title);
    header_->setObjectName(QStringLiteral("disclosureHeader"));
    header_->setCheckable(true);
    header_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    header_->setArrowType(Qt::RightArrow);
    header_->setAutoRaise(true);
    layout->addWidget(header_);
    container_->setObjectName(QStringLiteral("disclosureBody"));
    body_->setContentsMargins(16, 0, 0, 0);
    layout->addWidget(container_);
    container_->setVisible(false);
    connect(header_, &QToolButton::toggled, this, [this](bool on) { setExpanded(on); });
}

bool DisclosureGroup::isExpanded() const {
    return header_->isChecked();
}

void DisclosureGroup::setExpanded(bool expanded) {
    const bool changes = expanded == container_->isHidden();
    header_->setChecked(expanded);
    header_->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    container_->setVisible(expanded);
    if (!changes) {
        return;
    }
    QScrollArea* area = enclosingScrollArea(this);
    if (area == nullptr || area->widget() == nullptr || !area->isVisible()) {
        return;
    }
    // Layout requests travel up one level per pass of the event loop; lay out every level from
    // this group up to the page now and let the scroll area size the page, so that the page
    // never shows a squeezed or empty body in between.
    for (QWidget* at = this; at != nullptr && at != area->viewport(); at = at->parentWidget()) {
        if (at->layout() != nullptr) {
            at->layout()->activate();
        }
    }
    QEvent request(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(area, &request);
    if (expanded) {
        reveal(area);
    }
}

void DisclosureGroup::reveal(QScrollArea* area) {
    const QWidget* page = area->widget();
    const int top = mapTo(page, QPoint(0, 0)).y() - revealMargin;
    const int bottom = mapTo(page, QPoint(0, height())).y() + revealMargin;
    QScrollBar* bar = area->verticalScrollBar();
    const int shown = area->viewport()->height();
    int value = bar->value();
    if (bottom > value + shown) {
        value = bottom - shown;
    }
    value = std::min(value, top); // the header stays in sight
    bar->setValue(value);
}

} // namespace velmora
