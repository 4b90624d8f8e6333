#include "markdown/layout/document/copiedtextmimedata.h"

#include <QMimeData>

namespace kestrune {

QMimeData *copiedTextMimeData(const CopiedText &text)
{
    auto *data = new QMimeData;
    data->setText(text.plainText);
    if (!text.markdown.isEmpty())
        data->setData(QStringLiteral("text/markdown"), text.markdown.toUtf8());
    return data;
}

} // namespace kestrune
