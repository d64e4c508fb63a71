// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/findings/SupportingFindingRow.h"

#include "state/RowTexts.h"
#include "state/SummaryTexts.h"
#include "state/VelmoraMotion.h"
#include "views/findings/SparklineView.h"
#include "views/findings/SupportingActionPill.h"
#include "views/findings/SupportingActions.h"
#include "views/kit/CriticalAttention.h"
#include "views/kit/SurfacePainter.h"
#include "views/kit/VelmoraSymbols.h"
#include "views/kit/YieldingRowLayout.h"

#include <QBoxLayout>
#include <QPainter>
#include <QRadialGradient>
#include <QShowEvent>
#include <cmath>

namespace velmora {

namespace {

constexpr double dotDiameter = 7;
constexpr int dotTopPadding = 4;
constexpr double rateMinimumScale = 0.75;
constexpr int keptCharacters = 3;     // what a truncated text of the title row still shows
constexpr int keptRateCharacters = 5; // the number of a rate such as "+21.4 MB/min"

// From the curvature's code; only a monitor that sends none leaves the label's words to read.
bool isAccelerating(const FindingSnapshot& finding) {
    if (finding.codes && finding.codes->curvature && finding.codes->curvature->known) {
        return *finding.codes->curvature->known == CurvatureCode::accelerating;
    }
    const auto& label = finding.curvatureLabel;
    return label && label->find("Accelerating") != std::string::npos;
}

} // namespace

SupportingFindingRow::SupportingFindingRow(QWidget* parent)
    : QAbstractButton(parent),
      attention_(new CriticalAttention([this] { attentionChanged(); }, this)) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (onOpenDetail_) {
            onOpenDetail_();
        }
    });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(10);
    dotSlot_ = new QWidget(this);
    dotSlot_->setFixedSize(static_cast<int>(dotDiameter),
                           static_cast<int>(dotDiameter) + dotTopPadding);
    dotSlot_->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout->addWidget(dotSlot_, 0, Qt::AlignVCenter);

    auto* content = new QVBoxLayout;
    content->setSpacing(8);
    content->addWidget(buildTitleRow());
    explanation_ = makeText(TypeRole::body, {}, paletteRef(PaletteColor::mutedText), 2, this);
    explanation_->setObjectName("explanation");
    content->addWidget(explanation_);
    content->addWidget(buildCurvatureChip(), 0, Qt::AlignLeft);
    actionsRow_ = new QWidget(this);
    auto* actions = new QHBoxLayout(actionsRow_);
    actions->setContentsMargins(0, 0, 0, 0);
    actions->setSpacing(16);
    actions->addStretch(1);
    pills_.attach(actions);
    content->addWidget(actionsRow_);
    layout->addLayout(content, 1);
    repaintOnAppearanceChange(this);
    connect(&PaletteNotifier::instance(), &PaletteNotifier::changed, this,
            [this] { applyShadow(); });
}

SupportingFindingRow::~SupportingFindingRow() = default;

// Title, flexible space, sparkline, rate and verdict pill. A narrow row takes width from the
// others before it touches the name: the rate shrinks, then truncates, then the pill
// truncates, and only then the title, each keeping at least a few characters.
QWidget* SupportingFindingRow::buildTitleRow() {
    auto* row = new QWidget(this);
    row->setObjectName("titleRow");
    auto* layout = new YieldingRowLayout(8, row);
    title_ = makeText(TypeRole::title, {}, paletteRef(PaletteColor::neutralText), 1, row);
    title_->setObjectName("title");
    sparkline_ = new SparklineView(row);
    sparkline_->setObjectName("sparkline");
    rate_ = makeText(TypeRole::rate, {}, paletteRef(PaletteColor::watchText), 1, row);
    rate_->setObjectName("rate");
    rate_->setMinimumScaleFactor(rateMinimumScale);
    verdictPill_ = new CapsuleLabel(TypeRole::caption, QFont::DemiBold, 8, 4, row);
    verdictPill_->setObjectName("verdictPill");
    verdictPill_->label()->setTextCase(VelmoraText::TextCase::lower);
    layout->addWidget(title_);
    layout->addFlexibleSpace();
    layout->addWidget(sparkline_);
    layout->addWidget(rate_);
    layout->addWidget(verdictPill_);

    const auto text = [](const QWidget& widget) -> const VelmoraText& {
        return static_cast<const VelmoraText&>(widget);
    };
    layout->addYieldStep(rate_, [text](const QWidget& rate) {
        return static_cast<int>(std::ceil(text(rate).sizeHint().width() * rateMinimumScale));
    });
    layout->addYieldStep(rate_, [text](const QWidget& rate) {
        return text(rate).truncatedWidth(keptRateCharacters);
    });
    layout->addYieldStep(verdictPill_, [](const QWidget& widget) {
        const auto& pill = static_cast<const CapsuleLabel&>(widget);
        const QMargins padding = pill.layout()->contentsMargins();
        return pill.label()->truncatedWidth(keptCharacters) + padding.left() + padding.right();
    });
    layout->addYieldStep(title_, [text](const QWidget& title) {
        return text(title).truncatedWidth(keptCharacters);
    });
    return row;
}

QWidget* SupportingFindingRow::buildCurvatureChip() {
    curvatureChip_ = new Panel(
        PanelStyle{PanelStyle::capsule, paletteRef(PaletteColor::watchText, 0.12), {}, {}, 0},
        this);
    curvatureChip_->setObjectName("curvatureChip");
    curvatureChip_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* layout = new QHBoxLayout(curvatureChip_);
    layout->setContentsMargins(8, 3, 8, 3);
    layout->setSpacing(5);
    curvatureSymbol_ = new SymbolView("velmora-growth-slowing", 11,
                                      paletteRef(PaletteColor::watchText), curvatureChip_);
    curvatureSymbol_->setObjectName("curvatureSymbol");
    layout->addWidget(curvatureSymbol_, 0, Qt::AlignVCenter);
    curvatureLabel_ = makeText(TypeRole::caption, QFont::DemiBold,
                               paletteRef(PaletteColor::watchText), 1, curvatureChip_);
    curvatureLabel_->setObjectName("curvatureLabel");
    layout->addWidget(curvatureLabel_, 0, Qt::AlignVCenter);
    curvatureChip_->hide();
    return curvatureChip_;
}

void SupportingFindingRow::setFinding(const FindingSnapshot& finding) {
    if (hasFinding_ && finding == finding_) {
        return;
    }
    const bool severityChanged = !hasFinding_ || finding.severity != finding_.severity;
    finding_ = finding;
    hasFinding_ = true;
    if (objectName().isEmpty()) {
        setObjectName(QString::fromStdString("supportingFindingRow:" + finding_.key));
    }
    showTexts();
    showActions();
    if (severityChanged) {
        applyShadow();
        syncCriticalAttention();
    }
    update();
}

void SupportingFindingRow::setEscalated(bool escalated) {
    if (escalated == escalated_) {
        return;
    }
    escalated_ = escalated;
    if (hasFinding_) {
        syncCriticalAttention();
        update();
    }
}

void SupportingFindingRow::setIsActionPending(PendingTest isPending) {
    isPending_ = std::move(isPending);
    refreshPending();
}

void SupportingFindingRow::refreshPending() {
    for (auto* pill : pills_.widgets()) {
        pill->setPending(isPending_ && isPending_(pill->action()));
    }
}

void SupportingFindingRow::showTexts() {
    const ColorRef tint = ColorRef{severityColor(finding_.severity), 1.0, {}};
    title_->setText(QString::fromStdString(finding_.title));
    sparkline_->setSamples(finding_.sparklineSamples);
    sparkline_->setTint(tint);
    rate_->setText(QString::fromStdString(rowRateShown(finding_)));
    rate_->setColor(tint);
    //: The pill of a row that is only watched, shown in lower case.
    verdictPill_->setText(finding_.severity == FindingSeverity::watch
                              ? tr("watch")
                              : QString::fromStdString(confidencePillShown(finding_)));
    verdictPill_->setTint(tint, ColorRef{tint.name, 0.14, {}});
    const QString explanation = QString::fromStdString(summaryShown(finding_));
    explanation_->setText(explanation);
    setAccessibleName(QString::fromStdString(finding_.title));
    setAccessibleDescription(explanation);

    const auto curvature = curvatureShown(finding_);
    setShown(curvatureChip_, curvature.has_value());
    if (curvature) {
        const bool accelerating = isAccelerating(finding_);
        const PaletteColor colour =
            accelerating ? PaletteColor::suspectText : PaletteColor::watchText;
        curvatureSymbol_->setSymbol(accelerating ? "velmora-growth-accelerating"
                                                 : "velmora-growth-slowing");
        curvatureSymbol_->setColor(paletteRef(colour));
        curvatureLabel_->setText(QString::fromStdString(*curvature));
        curvatureLabel_->setColor(paletteRef(colour));
        PanelStyle chip = curvatureChip_->panelStyle();
        chip.fill = paletteRef(colour, 0.12);
        curvatureChip_->setPanelStyle(chip);
    }
}

void SupportingFindingRow::showActions() {
    const auto actions = preferredSupportingActions(finding_);
    pills_.reconcile(
        actions, [](const ActionDescriptor& action) { return action.id; },
        [this](const ActionDescriptor&) { return new SupportingActionPill(actionsRow_); },
        [this](SupportingActionPill& pill, const ActionDescriptor& action) {
            pill.setObjectName(QString::fromStdString("actionPill:" + action.id));
            pill.setAction(action);
            pill.setPending(isPending_ && isPending_(action));
            pill.setOnTap([this, action] {
                if (onDispatch_) {
                    onDispatch_(action);
                }
            });
        });
    setShown(actionsRow_, !actions.empty());
}

void SupportingFindingRow::showEvent(QShowEvent* event) {
    QAbstractButton::showEvent(event);
    if (hasFinding_ && !event->spontaneous()) {
        syncCriticalAttention();
    }
}

// Not critical: dim at once. Critical: dim at once, then, once this update has been drawn,
// brighten with the escalation ease-out (0.20 s) or the breathing one (0.24 s).
void SupportingFindingRow::syncCriticalAttention() {
    ++attentionGeneration_;
    attention_->reset();
    if (!isCritical()) {
        return;
    }
    const MotionName name =
        escalated_ ? MotionName::criticalAttention : MotionName::criticalRowBreathing;
    const unsigned generation = attentionGeneration_;
    QMetaObject::invokeMethod(
        this,
        [this, generation, name] {
            if (generation == attentionGeneration_ && isCritical()) {
                attention_->brighten(motion(name));
            }
        },
        Qt::QueuedConnection);
}

bool SupportingFindingRow::animateCriticalAttention() const {
    return attention_->isOn();
}

double SupportingFindingRow::criticalAttentionProgress() const {
    return attention_->level();
}

void SupportingFindingRow::attentionChanged() {
    applyShadow();
    update();
}

void SupportingFindingRow::applyShadow() {
    if (!isCritical()) {
        setWidgetShadow(this, Qt::transparent, 0);
        return;
    }
    const double level = attention_->level();
    setWidgetShadow(
        this, VelmoraPalette::current().color(PaletteColor::criticalText, mix(0.08, 0.22, level)),
        mix(4, 14, level));
}

PanelStyle SupportingFindingRow::cardStyle() const {
    PanelStyle style;
    style.radius = 16;
    const bool critical = isCritical();
    style.fill = critical ? paletteRef(PaletteColor::criticalText, escalated_ ? 0.18 : 0.11)
                          : paletteRef(PaletteColor::coolSurface);
    if (critical) {
        style.fillEnd = paletteRef(PaletteColor::coolSurface);
    }
    style.strokeWidth = critical && escalated_ ? 1.5 : 1;
    style.stroke = critical ? paletteRef(PaletteColor::criticalText, escalated_ ? 0.68 : 0.42)
                            : paletteRef(PaletteColor::coolStroke, 0.45);
    return style;
}

double SupportingFindingRow::dotScale() const {
    return isCritical() ? mix(0.94, 1.45, attention_->level()) : 1.0;
}

void SupportingFindingRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintPanel(painter, QRectF(rect()), cardStyle());
    if (isDown()) {
        paintPanel(painter, QRectF(rect()),
                   PanelStyle{16, ColorRef::fixedColor(QColor(0, 0, 0, 14)), {}, {}, 0});
    }
    paintDot(painter);
}

void SupportingFindingRow::paintDot(QPainter& painter) {
    const QRectF slot = QRectF(dotSlot_->geometry());
    const QPointF centre(slot.left() + dotDiameter / 2,
                         slot.top() + dotTopPadding + dotDiameter / 2);
    const double radius = dotDiameter / 2 * dotScale();
    const auto& palette = VelmoraPalette::current();
    if (isCritical()) {
        const double glow = mix(0, 8, attention_->level());
        if (glow > 0) {
            QRadialGradient halo(centre, radius + glow);
            halo.setColorAt(
                radius / (radius + glow),
                palette.color(PaletteColor::criticalText, mix(0.08, 0.34, attention_->level())));
            halo.setColorAt(1, palette.color(PaletteColor::criticalText, 0));
            painter.setPen(Qt::NoPen);
            painter.setBrush(halo);
            painter.drawEllipse(centre, radius + glow, radius + glow);
        }
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette.severityTint(finding_.severity, 0.9));
    painter.drawEllipse(centre, radius, radius);
}

} // namespace velmora
