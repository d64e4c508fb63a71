// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PopoverContent.h"

#include "state/PopoverViewModel.h"
#include "views/popover/PopoverRootBinding.h"
#include "views/popover/PopoverRootView.h"
#include "views/tray/TrayGlyph.h"

namespace velmora {
namespace {

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
    return QPixmap::fromImage(renderTrayGlyph(snapshot, dpr));
}

} // namespace velmora
