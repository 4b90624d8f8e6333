#include "preview/markdownpreviewheader.h"

#include "preview/deltabadge.h"
#include "preview/previewcolors.h"
#include "preview/previewfonts.h"
#include "preview/viewmodeswitch.h"
#include "ui/elidedlabel.h"
#include "ui/localization.h"

#include <QBoxLayout>
#include <QDir>
#include <QPushButton>

namespace kestrune {

MarkdownPreviewHeader::MarkdownPreviewHeader(QWidget *parent)
    : QWidget(parent),
      m_name(new ElidedLabel(QString(), PreviewFonts::headline(), PreviewColors::primaryText, this)),
      m_path(new ElidedLabel(QString(), PreviewFonts::caption(), PreviewColors::secondaryText, this)),
      m_badge(new DeltaBadge(DeltaSpecType::added, this)), m_switch(new ViewModeSwitch(this)),
      m_review(new QPushButton(Localization::text("review.action"), this)),
      m_result(new QPushButton(Localization::text("review.show_result"), this)),
      m_headings(new QPushButton(Localization::text("markdown.headings"), this)),
      m_history(new QPushButton(Localization::text("filehistory.action"), this))
{
    m_review->setObjectName(QStringLiteral("reviewChange"));
    m_result->setObjectName(QStringLiteral("showResult"));
    for (QPushButton *button : {m_review, m_result}) {
        button->setFocusPolicy(Qt::TabFocus);
        button->hide();
    }
    m_headings->setObjectName(QStringLiteral("showHeadings"));
    m_headings->setToolTip(Localization::text("markdown.headings.help"));
    m_headings->setFocusPolicy(Qt::TabFocus);
    m_headings->hide();
    m_history->setObjectName(QStringLiteral("showHistory"));
    m_history->setToolTip(Localization::text("filehistory.action.help"));
    m_history->setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_name->setObjectName(QStringLiteral("fileName"));
    m_path->setObjectName(QStringLiteral("filePath"));
    m_path->setElideMode(Qt::ElideMiddle);
    m_name->setToolTipShowsText(true);
    m_path->setToolTipShowsText(true);

    auto *title = new QVBoxLayout;
    title->setContentsMargins(0, 0, 0, 0);
    title->setSpacing(titleSpacing);
    title->addWidget(m_name);
    title->addWidget(m_path);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(spacing);
    layout->addLayout(title, 1);
    layout->setAlignment(title, Qt::AlignTop);
    // The flexible spacer: at least its minimum beside the layout's own spacing.
    layout->addSpacing(spacing);
    layout->addWidget(m_badge, 0, Qt::AlignTop);
    layout->addWidget(m_review, 0, Qt::AlignTop);
    layout->addWidget(m_result, 0, Qt::AlignTop);
    layout->addWidget(m_history, 0, Qt::AlignTop);
    layout->addWidget(m_headings, 0, Qt::AlignTop);
    layout->addWidget(m_switch, 0, Qt::AlignTop);
    m_badge->hide();
    m_switch->hide();
}

void MarkdownPreviewHeader::setFile(const QUrl &fileURL, std::optional<DeltaSpecType> deltaType)
{
    m_name->setText(fileURL.fileName());
    m_path->setText(fileURL.isLocalFile() ? QDir::toNativeSeparators(fileURL.toLocalFile())
                                          : fileURL.toDisplayString(QUrl::PreferLocalFile));
    if (deltaType)
        m_badge->setType(*deltaType);
    m_badge->setVisible(deltaType.has_value());
    m_review->setVisible(deltaType.has_value());
    m_result->setVisible(deltaType.has_value());
}

} // namespace kestrune
