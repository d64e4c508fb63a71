// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TrustAccessPanel.h"

#include "app/SettingsWidgets.h"
#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraType.h"

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

} // namespace

// One claim, updated in place: a new snapshot changes texts and adds or drops verify lines, so
// a selection in an unchanged line survives and the page keeps its layout between polls.
class TrustClaimView : public QWidget {
public:
    TrustClaimView(std::function<void()> action, QWidget* parent)
        : QWidget(parent), action_(std::move(action)), layout_(new QVBoxLayout(this)),
          header_(new QHBoxLayout()) {
        setObjectName(QStringLiteral("trustClaim"));
        layout_->setContentsMargins(0, 0, 0, 0);
        layout_->setSpacing(4);
        title_ = label({}, velmoraFont(TypeRole::title), PaletteColor::neutralText, false, this);
        header_->addWidget(title_, 1);
        layout_->addLayout(header_);
        claim_ = label({}, velmoraFont(TypeRole::body), PaletteColor::neutralText, true, this);
        claim_->setObjectName(QStringLiteral("claimText"));
        layout_->addWidget(claim_);
        verifyTitle_ = label({}, velmoraFont(TypeRole::caption, QFont::DemiBold),
                             PaletteColor::neutralText, false, this);
        verifyTitle_->setObjectName(QStringLiteral("verifyTitle"));
        layout_->addWidget(verifyTitle_);
    }

    void setClaim(const TrustClaim& claim) {
        setAccessibleName(claim.title);
        title_->setText(claim.title);
        if (claim.actionTitle && button_ == nullptr) {
            button_ = new QPushButton(this);
            button_->setObjectName(QStringLiteral("openDataDirButton"));
            button_->setFont(velmoraFont(TypeRole::caption));
            QObject::connect(button_, &QPushButton::clicked, this, [this] {
                if (action_) {
                    action_();
                }
            });
            header_->addWidget(button_, 0, Qt::AlignTop);
        }
        if (button_ != nullptr) {
            button_->setText(claim.actionTitle.value_or(QString()));
            button_->setVisible(claim.actionTitle.has_value());
        }
        claim_->setText(claim.claim);
        verifyTitle_->setText(claim.verifyTitle);
        while (lines_.size() > static_cast<std::size_t>(claim.verifyLines.size())) {
            delete lines_.back();
            lines_.pop_back();
        }
        while (lines_.size() < static_cast<std::size_t>(claim.verifyLines.size())) {
            auto* line =
                label({}, velmoraFont(TypeRole::caption), PaletteColor::mutedText, true, this);
            line->setObjectName(QStringLiteral("verifyLine"));
            layout_->addWidget(line);
            lines_.push_back(line);
        }
        for (std::size_t index = 0; index < lines_.size(); ++index) {
            lines_[index]->setText(claim.verifyLines[static_cast<qsizetype>(index)]);
        }
    }

private:
    std::function<void()> action_;
    QVBoxLayout* layout_;
    QHBoxLayout* header_;
    QLabel* title_;
    QPushButton* button_ = nullptr;
    QLabel* claim_;
    QLabel* verifyTitle_;
    std::vector<QLabel*> lines_;
};

std::vector<TrustClaim> trustClaims(const TrustAccessSnapshot& trust) {
    return {
        {TrustAccessClaimsView::tr("Processes sampled"),
         text(trust.processScope),
         TrustAccessClaimsView::tr("Verify this"),
         //: "System Monitor" is the desktop's task manager.
         {TrustAccessClaimsView::tr(
             "Open System Monitor and compare Velmora rows against same-user processes; "
             "Velmora does not require root.")},
         std::nullopt},
        {TrustAccessClaimsView::tr("Files read"), text(trust.fileReadScope),
         TrustAccessClaimsView::tr("Files from the latest sampling pass"),
         lines(trust.filesReadLastPass), std::nullopt},
        {TrustAccessClaimsView::tr("Files written"),
         text(trust.fileWriteScope),
         TrustAccessClaimsView::tr("Local write locations"),
         {text(trust.dataDir), text(trust.configPath), text(trust.artifactsDir),
          text(trust.logsDir)},
         //: Button: opens Velmora's data folder in the file manager.
         TrustAccessClaimsView::tr("Open Data Dir")},
        {TrustAccessClaimsView::tr("Network calls"), text(trust.networkScope),
         TrustAccessClaimsView::tr("Recent network calls"), lines(trust.recentNetworkCalls),
         std::nullopt},
        {TrustAccessClaimsView::tr("What Velmora does not do"),
         lines(trust.doesNotDo).join(QLatin1Char(' ')),
         //: Heading over the list of things Velmora promises never to do.
         TrustAccessClaimsView::tr("Negative commitments"), lines(trust.doesNotDo), std::nullopt},
    };
}

TrustAccessClaimsView::TrustAccessClaimsView(std::function<void()> onOpenDataDir, QWidget* parent)
    : QWidget(parent), onOpenDataDir_(std::move(onOpenDataDir)) {
    setObjectName(QStringLiteral("trustAccessClaims"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(14);
    for (std::size_t count = trustClaims(TrustAccessSnapshot{}).size(); count > 0; --count) {
        auto* view = new TrustClaimView(onOpenDataDir_, this);
        layout->addWidget(view);
        claims_.push_back(view);
    }
    setTrust(TrustAccessSnapshot{});
}

TrustAccessClaimsView::~TrustAccessClaimsView() = default;

void TrustAccessClaimsView::setTrust(const TrustAccessSnapshot& trust) {
    if (shown_ == trust) {
        return;
    }
    shown_ = trust;
    const auto claims = trustClaims(trust);
    for (std::size_t index = 0; index < claims_.size(); ++index) {
        claims_[index]->setClaim(claims[index]);
    }
}

TrustAccessPanelView::TrustAccessPanelView(std::function<void()> onOpenDataDir, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("trustAccessPanel"));
    setMinimumSize(520, 560);
    followAppearance(this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* body = new QWidget();
    body->setObjectName(QStringLiteral("trustPanelBody"));
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(14);
    auto* title = label(tr("What Velmora accesses"), velmoraRoundedFont(20, QFont::DemiBold),
                        PaletteColor::neutralText, false, body);
    title->setObjectName(QStringLiteral("trustTitle"));
    layout->addWidget(title);
    layout->addWidget(label(tr("Concrete local-first claims from the running backend."),
                            velmoraFont(TypeRole::body), PaletteColor::mutedText, false, body));
    claims_ = new TrustAccessClaimsView(std::move(onOpenDataDir), body);
    layout->addWidget(claims_);
    layout->addStretch();
    auto* scroll = verticalScrollPage(body, this);
    scroll->setObjectName(QStringLiteral("trustPanelPage"));
    outer->addWidget(scroll);
}

void TrustAccessPanelView::setTrust(const TrustAccessSnapshot& trust) {
    claims_->setTrust(trust);
}

} // namespace velmora
