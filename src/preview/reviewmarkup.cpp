#include "preview/reviewmarkup.h"

#include <QRegularExpression>

namespace kestrune {

namespace {

// What a line's block structure is made of: quote marks, a heading's hashes, a list item's
// bullet or number and its task box, each with the white space after it.
const QRegularExpression &blockMarkers()
{
    static const QRegularExpression markers(
        QStringLiteral("^[ \\t]*(?:(?:>[ \\t]?)|(?:#{1,6}[ \\t]+)|(?:[-*+][ \\t]+(?:\\[[ xX]\\][ \\t]+)?)|"
                       "(?:\\d{1,9}[.)][ \\t]+(?:\\[[ xX]\\][ \\t]+)?))*"));
    return markers;
}

bool isFence(QStringView line)
{
    const QStringView trimmed = line.trimmed();
    return trimmed.startsWith(QLatin1String("```")) || trimmed.startsWith(QLatin1String("~~~"));
}

class Writer
{
public:
    QString result;

    void equal(QStringView text)
    {
        for (const QStringView line : lines(text))
            write(line, nullptr);
    }

    void marked(QStringView text, const char *tag)
    {
        for (const QStringView line : lines(text))
            write(line, tag);
    }

private:
    // The pieces of a text, each up to and including its line feed.
    static QList<QStringView> lines(QStringView text)
    {
        QList<QStringView> pieces;
        qsizetype start = 0;
        while (start < text.size()) {
            const qsizetype feed = text.indexOf(QLatin1Char('\n'), start);
            const qsizetype end = feed < 0 ? text.size() : feed + 1;
            pieces.append(text.mid(start, end - start));
            start = end;
        }
        return pieces;
    }

    void write(QStringView piece, const char *tag)
    {
        const bool atLineStart = result.isEmpty() || result.endsWith(QLatin1Char('\n'));
        // Everything of the line so far and this piece, to know what kind of line it is.
        const qsizetype lineStart = result.lastIndexOf(QLatin1Char('\n')) + 1;
        const QString line = result.mid(lineStart) + piece.toString();
        const bool fence = atLineStart && isFence(piece);
        const bool unmarkable = m_inCode || fence || line.trimmed().startsWith(QLatin1Char('|'));
        if (!tag || unmarkable) {
            result += piece;
        } else {
            qsizetype begin = 0;
            if (atLineStart)
                begin = blockMarkers().match(piece).capturedLength();
            while (begin < piece.size() && piece.at(begin).isSpace())
                ++begin;
            qsizetype end = piece.size();
            while (end > begin && piece.at(end - 1).isSpace())
                --end;
            result += piece.first(begin);
            if (end > begin) {
                result += QLatin1Char('<') + QLatin1String(tag) + QLatin1Char('>');
                result += piece.mid(begin, end - begin);
                result += QLatin1String("</") + QLatin1String(tag) + QLatin1Char('>');
            }
            result += piece.mid(end);
        }
        if (fence)
            m_inCode = !m_inCode;
    }

    bool m_inCode = false;
};

} // namespace

QString ReviewMarkup::markedMarkdown(const QList<DiffHunk> &hunks)
{
    Writer writer;
    for (const DiffHunk &hunk : hunks) {
        switch (hunk.operation) {
        case DiffOperation::equal:
            writer.equal(hunk.text);
            break;
        case DiffOperation::insert:
            writer.marked(hunk.text, "ins");
            break;
        case DiffOperation::remove:
            writer.marked(hunk.text, "del");
            break;
        }
    }
    return writer.result;
}

} // namespace kestrune
