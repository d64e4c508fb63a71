#include "app/PopoverContent.h"

#include "state/PopoverViewModel.h"
#include "views/MenuBarLabel.h"
#include "views/PopoverRootBinding.h"
#include "views/PopoverRootView.h"

#include <QPainter>

namespace velmora {
namespace {

// Tray hosts show square icons: the label is cut to its painted pixels and centred on a square,
// so that scaling it into the tray wastes no room on transparent margins.
QImage squaredForTray(const QImage& label) {
    const QImage image = label.convertToFormat(QImage::Format_ARGB32);
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) > 8) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return label;
    }
    const QImage painted = image.copy(left, top, right - left + 1, bottom - top + 1);
    const int side = std::max(painted.width(), painted.height());
    QImage square(side, side, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage((side - painted.width()) / 2, (side - painted.height()) / 2, painted);
    painter.end();
    square.setDevicePixelRatio(label.devicePixelRatio());
    return square;
}

// Ties the binding's life to the root view's.
class BindingHolder : public QObject {
public:
    BindingHolder(QObject* parent, std::unique_ptr<PopoverRootBinding> binding)
        : QObject(parent), binding_(std::move(binding)) {}

private:
    std::unique_ptr<PopoverRootBinding> binding_;
};

} // namespace

QWidget* createPopoverContent(const std::shared_ptr<PopoverViewModel>& viewModel, int width,
                              PopoverContentActions actions, QWidget* parent) {
    auto* root = new PopoverRootView(parent);
    root->setObjectName(QStringLiteral("popoverRootView"));
    root->setFixedWidth(width);
    new BindingHolder(root, std::make_unique<PopoverRootBinding>(*root, viewModel,
                                                                 std::move(actions.openSettings)));
    return root;
}

QPixmap renderTrayIcon(const PopoverSnapshot& snapshot, qreal dpr) {
    return QPixmap::fromImage(squaredForTray(renderMenuBarLabel(snapshot, dpr)));
}

} // namespace velmora
