#pragma once

#include "ui/dynamiccolor.h"

#include <QWidget>

#include <functional>

class QVBoxLayout;

namespace kestrune {

class ChangeSectionHeader;

// A collapsible section of the dashboard: the header, a divider across the full width, and the
// content while the section is expanded. The content comes from a builder that is only called
// while the section is expanded; collapsing drops it, expanding builds it again.
class ChangeSectionView : public QWidget
{
    Q_OBJECT

public:
    using ContentBuilder = std::function<QWidget *(QWidget *parent)>;

    ChangeSectionView(const QString &title, DynamicColor accent, QWidget *parent = nullptr);
    ~ChangeSectionView() override;

    // The count shown in the header and how to build the content; rebuilds the content when
    // expanded.
    void setContent(qint64 count, ContentBuilder builder);

    bool isExpanded() const { return m_expanded; }
    void setExpanded(bool expanded);

    ChangeSectionHeader *header() const { return m_header; }
    QWidget *divider() const { return m_divider; }
    // The content on show; nothing while collapsed.
    QWidget *content() const { return m_content; }

Q_SIGNALS:
    // The user toggled the section through its header.
    void expandedChanged(bool expanded);

private:
    void rebuildContent();

    QVBoxLayout *m_layout = nullptr;
    ChangeSectionHeader *m_header = nullptr;
    QWidget *m_divider = nullptr;
    QWidget *m_content = nullptr;
    ContentBuilder m_builder;
    bool m_expanded = true;
};

} // namespace kestrune
