// SPDX-License-Identifier: GPL-3.0-or-later
// Draws a notification the fake notification server received as a desktop notification bubble
// in a light look, at 1x, for the README. Usage:
//   app_notification_picture <dump.json> <out.png> [index]
// The dump is the one app_DesktopNotificationTest writes (build/tests/notifications.json).
#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

namespace {

constexpr int bubbleWidth = 380;
constexpr int margin = 16; // the desktop around the bubble

// The rounded, bordered card itself.
class Bubble : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath card;
        card.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
        painter.fillPath(card, QColor(0xfb, 0xfb, 0xfc));
        painter.setPen(QColor(0, 0, 0, 40));
        painter.drawPath(card);
    }
};

QLabel* text(const QString& value, int pixelSize, QFont::Weight weight, QColor color,
             QWidget* parent) {
    auto* label = new QLabel(value, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QFont font = QApplication::font();
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <dump.json> <out.png> [index]\n", argv[0]);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QJsonArray all = QJsonDocument::fromJson(file.readAll()).array();
    const int index = argc > 3 ? std::atoi(argv[3]) : 0;
    if (index < 0 || index >= all.size()) {
        std::fprintf(stderr, "no notification %d in %s\n", index, argv[1]);
        return 1;
    }
    const QJsonObject notification = all.at(index).toObject();

    QWidget desktop;
    desktop.setAutoFillBackground(true);
    QPalette palette = desktop.palette();
    palette.setColor(QPalette::Window, QColor(0xdc, 0xe1, 0xe8));
    palette.setColor(QPalette::Button, QColor(0xee, 0xef, 0xf2));
    palette.setColor(QPalette::ButtonText, QColor(0x1d, 0x1f, 0x24));
    desktop.setPalette(palette);
    auto* outer = new QVBoxLayout(&desktop);
    outer->setContentsMargins(margin, margin, margin, margin);
    auto* bubble = new Bubble(&desktop);
    bubble->setFixedWidth(bubbleWidth);
    outer->addWidget(bubble);

    auto* layout = new QVBoxLayout(bubble);
    layout->setContentsMargins(14, 12, 14, 14);
    layout->setSpacing(6);
    auto* header = new QHBoxLayout();
    header->setSpacing(6);
    auto* icon = new QLabel(bubble);
    icon->setPixmap(QPixmap(QStringLiteral(VELMORA_ICON_DIR "/velmora-16.png")));
    header->addWidget(icon);
    const QColor muted(0x5c, 0x63, 0x70);
    header->addWidget(
        text(notification[QStringLiteral("app_name")].toString() + QStringLiteral(" \u00B7 now"),
             12, QFont::Normal, muted, bubble));
    header->addStretch();
    layout->addLayout(header);

    auto* row = new QHBoxLayout();
    row->setSpacing(12);
    auto* texts = new QVBoxLayout();
    texts->setSpacing(3);
    const QColor ink(0x1d, 0x1f, 0x24);
    texts->addWidget(
        text(notification[QStringLiteral("summary")].toString(), 14, QFont::DemiBold, ink, bubble));
    texts->addWidget(
        text(notification[QStringLiteral("body")].toString(), 13, QFont::Normal, ink, bubble));
    row->addLayout(texts, 1);
    auto* appIcon = new QLabel(bubble);
    appIcon->setPixmap(QPixmap(QStringLiteral(VELMORA_ICON_DIR "/velmora-48.png"))
                           .scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    appIcon->setAlignment(Qt::AlignTop);
    row->addWidget(appIcon);
    layout->addLayout(row);

    // The buttons, in the order the server got them ("default" is the bubble itself).
    const QJsonArray actions = notification[QStringLiteral("actions")].toArray();
    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(6);
    for (int i = 0; i + 1 < actions.size(); i += 2) {
        if (actions.at(i).toString() == QLatin1String("default")) {
            continue;
        }
        auto* button = new QPushButton(actions.at(i + 1).toString(), bubble);
        button->setPalette(palette);
        buttons->addWidget(button, 1);
    }
    if (buttons->count() > 0) {
        layout->addSpacing(4);
        layout->addLayout(buttons);
    }

    desktop.adjustSize();
    QImage image(desktop.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    desktop.render(&image);
    if (!image.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s (%dx%d)\n", argv[2], image.width(), image.height());
    return 0;
}
