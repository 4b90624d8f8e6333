#include "reading/markdownblocksplitter_p.h"

#include "text/linebreaks.h"

#include <QHashFunctions>

#include <optional>

namespace kestrune {

namespace {

using Kind = MarkdownBlockSplitter::Kind;

// Columns of leading white space (a tab to the next multiple of 4) and where the text starts.
struct Indent
{
    int columns = 0;
    qsizetype end = 0;
};

Indent indentOf(QStringView line)
{
    Indent indent;
    while (indent.end < line.size()) {
        const QChar c = line[indent.end];
        if (c == u' ')
            ++indent.columns;
        else if (c == u'\t')
            indent.columns += 4 - indent.columns % 4;
        else
            break;
        ++indent.end;
    }
    return indent;
}

bool isBlank(QStringView line)
{
    return indentOf(line).end == line.size();
}

bool isSpaceOrEnd(QStringView line, qsizetype at)
{
    return at >= line.size() || line[at] == u' ' || line[at] == u'\t';
}

struct Fence
{
    QChar mark;
    qsizetype length = 0;
};

std::optional<Fence> fenceOpenedBy(QStringView line, const Indent &indent)
{
    if (indent.end >= line.size())
        return std::nullopt;
    const QChar mark = line[indent.end];
    if (mark != u'`' && mark != u'~')
        return std::nullopt;
    qsizetype end = indent.end;
    while (end < line.size() && line[end] == mark)
        ++end;
    const qsizetype length = end - indent.end;
    if (length < 3 || (mark == u'`' && line.sliced(end).contains(u'`')))
        return std::nullopt;
    return Fence{mark, length};
}

bool closesFence(QStringView line, const Fence &fence)
{
    const Indent indent = indentOf(line);
    qsizetype end = indent.end;
    while (end < line.size() && line[end] == fence.mark)
        ++end;
    return end - indent.end >= fence.length && isBlank(line.sliced(end));
}

bool isAtxHeading(QStringView line, const Indent &indent)
{
    if (indent.columns > 3)
        return false;
    qsizetype end = indent.end;
    while (end < line.size() && line[end] == u'#')
        ++end;
    const qsizetype level = end - indent.end;
    return level >= 1 && level <= 6 && isSpaceOrEnd(line, end);
}

// A line of one mark among `marks` (at least `least` of it), spaces allowed between when `spaced`.
bool isRunOf(QStringView line, const Indent &indent, QStringView marks, int least, bool spaced)
{
    if (indent.columns > 3 || indent.end >= line.size() || !marks.contains(line[indent.end]))
        return false;
    const QChar mark = line[indent.end];
    int count = 0;
    bool trailing = false;
    for (qsizetype i = indent.end; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == mark && !trailing) {
            ++count;
        } else if (c == u' ' || c == u'\t') {
            trailing = !spaced;
        } else {
            return false;
        }
    }
    return count >= least;
}

bool isThematicBreak(QStringView line, const Indent &indent)
{
    return isRunOf(line, indent, u"-*_", 3, true);
}

bool isSetextUnderline(QStringView line, const Indent &indent)
{
    return isRunOf(line, indent, u"=-", 1, false);
}

bool startsListItem(QStringView line, const Indent &indent)
{
    qsizetype at = indent.end;
    if (at >= line.size())
        return false;
    const QChar c = line[at];
    if (c == u'-' || c == u'+' || c == u'*')
        return isSpaceOrEnd(line, at + 1);
    qsizetype digits = 0;
    while (at < line.size() && line[at].isDigit() && line[at].unicode() < 128 && digits < 10) {
        ++at;
        ++digits;
    }
    return digits >= 1 && digits <= 9 && at < line.size() && (line[at] == u'.' || line[at] == u')') &&
           isSpaceOrEnd(line, at + 1);
}

bool startsQuote(QStringView line, const Indent &indent)
{
    return indent.columns <= 3 && indent.end < line.size() && line[indent.end] == u'>';
}

bool startsHtml(QStringView line, const Indent &indent)
{
    if (indent.columns > 3 || indent.end + 1 >= line.size() || line[indent.end] != u'<')
        return false;
    const QChar next = line[indent.end + 1];
    return next.isLetter() || next == u'/' || next == u'!' || next == u'?';
}

bool isDelimiterRow(QStringView line)
{
    bool dash = false;
    bool pipe = false;
    for (const QChar c : line) {
        if (c == u'-')
            dash = true;
        else if (c == u'|')
            pipe = true;
        else if (c != u':' && c != u' ' && c != u'\t')
            return false;
    }
    return dash && pipe;
}

} // namespace

std::vector<MarkdownBlockSplitter::Line> MarkdownBlockSplitter::linesOf(QStringView text)
{
    std::vector<Line> lines;
    lines.reserve(size_t(text.size() / 32 + 1));
    qsizetype start = 0;
    const qsizetype size = text.size();
    const QChar *data = text.data();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i].unicode();
        if (c != u'\n' && c != u'\r')
            continue;
        lines.push_back(Line{start, i - start});
        if (c == u'\r' && i + 1 < size && data[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines.push_back(Line{start, size - start});
    return lines;
}

QStringView MarkdownBlockSplitter::textOf(QStringView text, const std::vector<Line> &lines,
                                          const Block &block)
{
    const Line &first = lines[size_t(block.firstLine)];
    const Line &last = lines[size_t(block.firstLine + block.lineCount - 1)];
    return text.sliced(first.start, last.start + last.length - first.start);
}

std::vector<MarkdownBlockSplitter::Block> MarkdownBlockSplitter::blocksOf(QStringView text,
                                                                          const std::vector<Line> &lines)
{
    std::vector<Block> blocks;
    std::optional<Block> open;
    std::optional<Fence> fence;
    auto close = [&] {
        if (open) {
            open->hash = qHash(textOf(text, lines, *open));
            blocks.push_back(*open);
            open.reset();
        }
    };
    auto start = [&](Kind kind, int line) {
        close();
        open = Block{kind, line, 1, 0};
    };

    const int count = int(lines.size());
    for (int i = 0; i < count; ++i) {
        const QStringView line = text.sliced(lines[size_t(i)].start, lines[size_t(i)].length);
        if (fence) {
            ++open->lineCount;
            if (closesFence(line, *fence)) {
                fence.reset();
                close();
            }
            continue;
        }
        const Indent indent = indentOf(line);
        if (indent.end == line.size()) {
            close();
            continue;
        }
        const Kind openKind = open ? open->kind : Kind::paragraph;
        if (const auto opened = fenceOpenedBy(line, indent)) {
            start(Kind::codeFence, i);
            fence = opened;
        } else if (isAtxHeading(line, indent)) {
            start(Kind::heading, i);
            close();
        } else if (open && openKind == Kind::paragraph && isSetextUnderline(line, indent)) {
            open->kind = Kind::heading;
            ++open->lineCount;
            close();
        } else if (isThematicBreak(line, indent)) {
            start(Kind::thematicBreak, i);
            close();
        } else if (startsListItem(line, indent)) {
            start(Kind::listItem, i);
        } else if (startsQuote(line, indent)) {
            if (open && openKind == Kind::quote)
                ++open->lineCount;
            else
                start(Kind::quote, i);
        } else if (open && openKind == Kind::paragraph && open->lineCount == 1 && isDelimiterRow(line)) {
            open->kind = Kind::table;
            ++open->lineCount;
        } else if (open) {
            ++open->lineCount;
        } else {
            start(startsHtml(line, indent) ? Kind::html : Kind::paragraph, i);
        }
    }
    close();
    return blocks;
}

} // namespace kestrune
