#include "app/TrustAccessPanel.h"

#include "views/VelmoraPalette.h"
#include "views/VelmoraType.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace velmora {
namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

QStringList lines(const std::vector<std::string>& values) {
    QStringList result;
    for (const auto& value : values) {
        result << text(value);
    }
    return result;
}

QLabel* label(const QString& content, QFont font, PaletteColor color, bool selectable,
              QWidget* parent) {
    auto* result = new QLabel(content, parent);
    result->setTextFormat(Qt::PlainText);
    result->setWordWrap(true);
    result->setFont(font);
    followPaletteColor(result, QPalette::WindowText, color);
    if (selectable) {
        result->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    return result;
}

QWidget* claimView(const TrustClaim& claim, const std::function<void()>& action, QWidget* parent) {
    auto* view = new QWidget(parent);
    view->setObjectName(QStringLiteral("trustClaim"));
    view->setAccessibleName(claim.title);
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto* header = new QHBoxLayout();
    header->addWidget(
        label(claim.title, velmoraFont(TypeRole::title), PaletteColor::neutralText, false, view),
        1);
    if (claim.actionTitle) {
        auto* button = new QPushButton(*claim.actionTitle, view);
        button->setObjectName(QStringLiteral("openDataDirButton"));
        button->setFont(velmoraFont(TypeRole::caption));
        QObject::connect(button, &QPushButton::clicked, view, [action] {
            if (action) {
                action();
            }
        });
        header->addWidget(button);
    }
    layout->addLayout(header);
    auto* claimLabel =
        label(claim.claim, velmoraFont(TypeRole::body), PaletteColor::neutralText, true, view);
    claimLabel->setObjectName(QStringLiteral("claimText"));
    layout->addWidget(claimLabel);
    auto* verify = label(claim.verifyTitle, velmoraFont(TypeRole::caption, QFont::DemiBold),
                         PaletteColor::neutralText, false, view);
    verify->setObjectName(QStringLiteral("verifyTitle"));
    layout->addWidget(verify);
    for (const auto& line : claim.verifyLines) {
        auto* lineLabel =
            label(line, velmoraFont(TypeRole::caption), PaletteColor::mutedText, true, view);
        lineLabel->setObjectName(QStringLiteral("verifyLine"));
        layout->addWidget(lineLabel);
    }
    return view;
}

} // namespace

std::vector<TrustClaim> trustClaims(const TrustAccessSnapshot& trust) {
    return {
        {QStringLiteral("Processes sampled"),
         text(trust.processScope),
         QStringLiteral("Verify this"),
         {QStringLiteral("Open System Monitor and compare Velmora rows against same-user "
                         "processes; Velmora does not require root.")},
         std::nullopt},
        {QStringLiteral("Files read"), text(trust.fileReadScope),
         QStringLiteral("Files from the latest sampling pass"), lines(trust.filesReadLastPass),
         std::nullopt},
        {QStringLiteral("Files written"),
         text(trust.fileWriteScope),
         QStringLiteral("Local write locations"),
         {text(trust.dataDir), text(trust.configPath), text(trust.artifactsDir),
          text(trust.logsDir)},
         QStringLiteral("Open Data Dir")},
        {QStringLiteral("Network calls"), text(trust.networkScope),
         QStringLiteral("Recent network calls"), lines(trust.recentNetworkCalls), std::nullopt},
        {QStringLiteral("What Velmora does not do"), lines(trust.doesNotDo).join(QLatin1Char(' ')),
         QStringLiteral("Negative commitments"), lines(trust.doesNotDo), std::nullopt},
    };
}

TrustAccessClaimsView::TrustAccessClaimsView(std::function<void()> onOpenDataDir, QWidget* parent)
    : QWidget(parent), onOpenDataDir_(std::move(onOpenDataDir)), layout_(new QVBoxLayout(this)) {
    setObjectName(QStringLiteral("trustAccessClaims"));
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(14);
    setTrust(TrustAccessSnapshot{});
}

void TrustAccessClaimsView::setTrust(const TrustAccessSnapshot& trust) {
    if (shown_ == trust) {
        return; // an unchanged snapshot keeps any text selection the user made
    }
    shown_ = trust;
    while (auto* item = layout_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const auto& claim : trustClaims(trust)) {
        layout_->addWidget(claimView(claim, claim.actionTitle ? onOpenDataDir_ : nullptr, this));
    }
}

TrustAccessPanelView::TrustAccessPanelView(std::function<void()> onOpenDataDir, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("trustAccessPanel"));
    setMinimumSize(520, 560);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* body = new QWidget(scroll);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(14);
    auto* title =
        label(QStringLiteral("What Velmora accesses"), velmoraRoundedFont(20, QFont::DemiBold),
              PaletteColor::neutralText, false, body);
    title->setObjectName(QStringLiteral("trustTitle"));
    layout->addWidget(title);
    layout->addWidget(label(QStringLiteral("Concrete local-first claims from the running backend."),
                            velmoraFont(TypeRole::body), PaletteColor::mutedText, false, body));
    claims_ = new TrustAccessClaimsView(std::move(onOpenDataDir), body);
    layout->addWidget(claims_);
    layout->addStretch();
    scroll->setWidget(body);
    outer->addWidget(scroll);
}

void TrustAccessPanelView::setTrust(const TrustAccessSnapshot& trust) {
    claims_->setTrust(trust);
}

} // namespace velmora
