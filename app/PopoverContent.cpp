#include "app/PopoverContent.h"

#include "state/PopoverViewModel.h"
#include "views/VelmoraPalette.h"
#include "views/VelmoraType.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#if __has_include("views/PopoverRootView.h")
#include "views/PopoverRootView.h"
#define VELMORA_HAVE_ROOT_VIEW 1
#endif
#if __has_include("views/MenuBarLabel.h")
#include "views/MenuBarLabel.h"
#define VELMORA_HAVE_MENU_BAR_LABEL 1
#endif

namespace velmora {
namespace {

// Tray hosts show square icons: the label is cut to its painted pixels and centred on a square,
// so that scaling it into the tray wastes no room on transparent margins.
[[maybe_unused]] QImage squaredForTray(const QImage& label) {
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

#ifndef VELMORA_HAVE_ROOT_VIEW
// Shown until the popover views are part of the build: the summary and the rows as text.
class SummaryContent : public QWidget {
public:
    SummaryContent(std::shared_ptr<PopoverViewModel> viewModel, int width, QWidget* parent)
        : QWidget(parent), viewModel_(std::move(viewModel)), label_(new QLabel(this)) {
        setObjectName(QStringLiteral("popoverRootView"));
        setFixedWidth(width);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(16, 16, 16, 16);
        label_->setWordWrap(true);
        label_->setFont(velmoraFont(TypeRole::body));
        layout->addWidget(label_);
        observation_ = viewModel_->observe([this](const ViewModelChange&) { refresh(); });
        refresh();
    }

private:
    void refresh() {
        const auto& snapshot = viewModel_->snapshot();
        QString text =
            QStringLiteral("<b>%1</b><br>%2")
                .arg(QString::fromStdString(viewModel_->activeSummaryText()).toHtmlEscaped(),
                     QString::fromStdString(snapshot.incident.headline).toHtmlEscaped());
        for (const auto& row : snapshot.rows) {
            text += QStringLiteral("<br>%1 %2")
                        .arg(QString::fromStdString(row.title).toHtmlEscaped(),
                             QString::fromStdString(row.rate).toHtmlEscaped());
        }
        label_->setText(text);
        adjustSize();
    }

    std::shared_ptr<PopoverViewModel> viewModel_;
    QLabel* label_;
    std::unique_ptr<Observation> observation_;
};
#endif

} // namespace

#ifdef VELMORA_HAVE_ROOT_VIEW
namespace {

PopoverRenderState renderStateOf(const PopoverViewModel& viewModel) {
    PopoverRenderState state;
    state.snapshot = viewModel.snapshot();
    state.pendingActions = viewModel.pendingActions();
    state.pendingCommands = viewModel.pendingCommands();
    state.highlightedCriticalKeys = viewModel.highlightedCriticalKeys();
    state.visibleActionFeedback = viewModel.visibleActionFeedback();
    state.surface = viewModel.surface();
    state.advancedHistory = viewModel.advancedHistory();
    state.isAdvancedHistoryLoading = viewModel.isAdvancedHistoryLoading();
    state.advancedHistoryError = viewModel.advancedHistoryError();
    state.activeVerdictTooltip = viewModel.activeVerdictTooltip();
    state.activeSummaryText = viewModel.activeSummaryText();
    return state;
}

// Keeps the root view rendering the view model's state; every control goes back to it.
class RootViewBinding : public QObject {
public:
    RootViewBinding(std::shared_ptr<PopoverViewModel> viewModel, PopoverRootView* root,
                    PopoverContentActions actions)
        : QObject(root), viewModel_(std::move(viewModel)) {
        std::weak_ptr<PopoverViewModel> weak = viewModel_;
        const auto with = [weak](auto call) {
            return [weak, call](auto&&... arguments) {
                if (const auto model = weak.lock()) {
                    call(*model, arguments...);
                }
            };
        };
        PopoverCallbacks callbacks;
        callbacks.dispatch =
            with([](PopoverViewModel& m, const ActionDescriptor& a) { m.dispatch(a); });
        callbacks.sendCommand = with([](PopoverViewModel& m, ShellCommand c) { m.sendCommand(c); });
        callbacks.openSettings = std::move(actions.openSettings);
        callbacks.closeDetail = with([](PopoverViewModel& m) { m.closeDetail(); });
        callbacks.toggleAdvancedHistory =
            with([](PopoverViewModel& m) { m.toggleAdvancedHistory(); });
        callbacks.loadAdvancedHistory =
            with([](PopoverViewModel& m, std::optional<std::string> key) {
                m.loadAdvancedHistory(std::move(key));
            });
        callbacks.dismissActiveVerdictTooltip =
            with([](PopoverViewModel& m) { m.dismissActiveVerdictTooltip(); });
        callbacks.openDetail =
            with([](PopoverViewModel& m, const std::string& key) { m.openDetail(key); });
        root->setCallbacks(std::move(callbacks));
        root->render(renderStateOf(*viewModel_));
        observation_ = viewModel_->observe([this, root](const ViewModelChange& change) {
            root->render(renderStateOf(*viewModel_), change.motion);
        });
    }

private:
    std::shared_ptr<PopoverViewModel> viewModel_;
    std::unique_ptr<Observation> observation_;
};

} // namespace
#endif

QWidget* createPopoverContent(const std::shared_ptr<PopoverViewModel>& viewModel, int width,
                              PopoverContentActions actions, QWidget* parent) {
#ifdef VELMORA_HAVE_ROOT_VIEW
    auto* root = new PopoverRootView(parent);
    root->setObjectName(QStringLiteral("popoverRootView"));
    root->setFixedWidth(width);
    new RootViewBinding(viewModel, root, std::move(actions));
    return root;
#else
    (void)actions;
    return new SummaryContent(viewModel, width, parent);
#endif
}

QPixmap renderTrayIcon(const PopoverSnapshot& snapshot, qreal dpr) {
#ifdef VELMORA_HAVE_MENU_BAR_LABEL
    return QPixmap::fromImage(squaredForTray(renderMenuBarLabel(snapshot, dpr)));
#else
    // A tone-tinted gauge with the suspect count, until the label view is part of the build.
    const int size = 22;
    QPixmap pixmap(QSize(size, size) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto tint = VelmoraPalette::current().toneTint(snapshot.globalTone);
    painter.setPen(QPen(tint, 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(3, 3, 16, 16), 210 * 16, -240 * 16);
    if (!snapshot.rows.empty()) {
        painter.setFont(velmoraRoundedFont(10, QFont::Bold));
        painter.drawText(QRectF(0, 4, size, size), Qt::AlignCenter,
                         QString::number(snapshot.rows.size()));
    } else {
        painter.setBrush(tint);
        painter.drawEllipse(QPointF(11, 12), 2.2, 2.2);
    }
    return pixmap;
#endif
}

} // namespace velmora
