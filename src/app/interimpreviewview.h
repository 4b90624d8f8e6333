#pragma once

#include "app/detailviewfactory.h"

#include <QWidget>

// Stands in for the Markdown preview: the file's name and path.
class InterimPreviewView : public QWidget
{
    Q_OBJECT

public:
    explicit InterimPreviewView(const MarkdownPreviewInput &input, QWidget *parent = nullptr);

    const MarkdownPreviewInput &input() const { return m_input; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    MarkdownPreviewInput m_input;
};
