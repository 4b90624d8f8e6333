#include "preview/specificationresultview.h"

#include "preview/fittedmarkdownview.h"
#include "preview/previewcolors.h"
#include "ui/deltabadgestyle.h"
#include "ui/localization.h"
#include "ui/systemfont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kestrune {

namespace {

constexpr int pagePadding = 20;
constexpr int markWidth = 4;
constexpr int markGap = 12;

// A piece of the text with a margin mark in the colour of the kind of change it shows.
class MarkedPiece : public QWidget
{
public:
    MarkedPiece(QWidget *content, std::optional<DeltaSpecType> kind, QWidget *parent)
        : QWidget(parent), m_kind(kind)
    {
        auto *layout = new QHBoxLayout(this);
        layout->setContentsMargins(markWidth + markGap, 0, 0, 0);
        layout->addWidget(content);
        if (kind)
            setProperty("deltaKind", int(*kind));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!m_kind)
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(DeltaBadgeStyle::color(*m_kind).resolve(palette()));
        painter.drawRoundedRect(QRectF(0, 2, markWidth, height() - 4), markWidth / 2.0, markWidth / 2.0);
    }

private:
    std::optional<DeltaSpecType> m_kind;
};

QString linesOf(const QStringList &lines, qsizetype first, qsizetype end)
{
    return lines.mid(first, end - first).join(QLatin1Char('\n'));
}

} // namespace

SpecificationResultView::SpecificationResultView(const QString &changeName,
                                                 const CapabilityReview &capability, QWidget *parent)
    : QWidget(parent), m_capability(capability.capability),
      m_merge(SpecificationMerge::apply(capability.specification, capability.delta)),
      m_title(new QLabel(this)), m_back(new QPushButton(Localization::text("review.back"), this)),
      m_scrollArea(new QScrollArea(this))
{
    setObjectName(QStringLiteral("specificationResult"));
    m_title->setObjectName(QStringLiteral("resultTitle"));
    m_title->setFont(SystemFont::font(17, QFont::Bold));
    m_title->setWordWrap(true);
    m_title->setText(Localization::format("review.result_title", capability.capability) +
                     QStringLiteral(" · ") + Localization::format("review.result_after", changeName));
    m_back->setObjectName(QStringLiteral("backToReview"));
    connect(m_back, &QPushButton::clicked, this, &SpecificationResultView::backRequested);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->viewport()->setAutoFillBackground(false);

    auto *header = new QHBoxLayout;
    header->addWidget(m_title, 1);
    header->addWidget(m_back, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(pagePadding, pagePadding, 0, 0);
    layout->setSpacing(12);
    layout->addLayout(header);
    layout->addWidget(m_scrollArea, 1);

    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("resultPage"));
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, pagePadding, pagePadding);
    pageLayout->setSpacing(8);
    const auto addPiece = [&](QWidget *content, std::optional<DeltaSpecType> kind) {
        auto *piece = new MarkedPiece(content, kind, page);
        pageLayout->addWidget(piece);
        m_pieces.append(piece);
    };
    // The text in runs: untouched lines between the requirements the change touched.
    const QStringList lines = m_merge.text.split(QLatin1Char('\n'));
    qsizetype next = 0;
    for (const MergedRequirement &requirement : std::as_const(m_merge.requirements)) {
        const qsizetype first = std::clamp<qsizetype>(requirement.lines.first, next, lines.size());
        const qsizetype end =
            std::clamp<qsizetype>(requirement.lines.first + requirement.lines.count, first, lines.size());
        if (first > next && !linesOf(lines, next, first).trimmed().isEmpty())
            addPiece(new FittedMarkdownView(linesOf(lines, next, first), page), std::nullopt);
        if (requirement.kind == DeltaSpecType::removed) {
            auto *removed = new QLabel(Localization::format("review.removed_here", requirement.name), page);
            removed->setObjectName(QStringLiteral("removedRequirement"));
            removed->setWordWrap(true);
            addPiece(removed, requirement.kind);
        } else {
            addPiece(new FittedMarkdownView(linesOf(lines, first, end), page), requirement.kind);
        }
        next = end;
    }
    if (next < lines.size() && !linesOf(lines, next, lines.size()).trimmed().isEmpty())
        addPiece(new FittedMarkdownView(linesOf(lines, next, lines.size()), page), std::nullopt);
    pageLayout->addStretch(1);
    m_scrollArea->setWidget(page);
}

void SpecificationResultView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), PreviewColors::paneBackground.resolve(palette()));
}

} // namespace kestrune
