#pragma once

#include <QSplitter>

namespace kestrune {

// A horizontal split whose divider is a one-pixel hairline (with a wider grab area).
class SplitView : public QSplitter
{
    Q_OBJECT

public:
    explicit SplitView(QWidget *parent = nullptr);

protected:
    QSplitterHandle *createHandle() override;
};

} // namespace kestrune
