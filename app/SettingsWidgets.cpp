#include "app/SettingsWidgets.h"

#include <QVBoxLayout>

namespace velmora {

QLabel* settingsCaption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFont(velmoraFont(TypeRole::caption));
    followPaletteColor(label, QPalette::WindowText, PaletteColor::mutedText);
    return label;
}

SettingsGroup::SettingsGroup(const QString& title, QWidget* parent)
    : QGroupBox(QString(title).replace(QLatin1Char('&'), QStringLiteral("&&")), parent),
      body_(new QVBoxLayout(this)) {
    // Only the title is set in the title font; the controls inside keep the body font.
    setStyleSheet(QStringLiteral("QGroupBox { font-size: 15px; font-weight: 600; }"));
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
    : QWidget(parent), header_(new QToolButton(this)), container_(new QWidget(this)),
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
    body_->setContentsMargins(16, 0, 0, 0);
    layout->addWidget(container_);
    container_->setVisible(false);
    connect(header_, &QToolButton::toggled, this, [this](bool on) { setExpanded(on); });
}

bool DisclosureGroup::isExpanded() const {
    return header_->isChecked();
}

void DisclosureGroup::setExpanded(bool expanded) {
    header_->setChecked(expanded);
    header_->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    container_->setVisible(expanded);
}

} // namespace velmora
