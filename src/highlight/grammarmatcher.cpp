#include "highlight/grammarmatcher_p.h"

#include "highlight/grammarlibrary_p.h"

#include <algorithm>
#include <optional>

namespace kestrune {

namespace {

// Lexemes in a row that leave the position where it was before the matcher steps over a
// character: a grammar whose modes begin and end on empty matches would loop for ever.
constexpr int maxStepsInPlace = 64;
// Sub-languages within sub-languages, deeper than any real text nests them.
constexpr int maxSubLanguageDepth = 16;
constexpr int stepsBetweenClockChecks = 256;

bool isWordCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_';
}

constexpr QRegularExpression::MatchOptions noCheck = QRegularExpression::DontCheckSubjectStringMatchOption;

// The code with every lone surrogate replaced, at the same offsets: PCRE2 needs valid UTF-16.
QString validText(QStringView code)
{
    QString text = code.toString();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

enum class LexemeType
{
    none,
    begin,
    end,
    illegal
};

} // namespace

class GrammarMatcher::Pass
{
public:
    // The patterns run over a QString, which Qt shares with the match, where it would copy a
    // QStringView; the text is valid UTF-16 (see validText()), so PCRE2 is spared checking all
    // of it again at every lexeme.
    Pass(GrammarMatcher &matcher, const QString &code, qsizetype offset, const Grammar &grammar, int baseKind)
        : m_matcher(matcher), m_text(code), m_code(m_text), m_offset(offset), m_grammar(grammar)
    {
        m_frames.push_back(Frame{&grammar.mode(0), baseKind, {}, false});
    }

    bool run()
    {
        const qsizetype size = m_code.size();
        qsizetype index = 0;
        int stepsInPlace = 0;
        while (index <= size) {
            if (m_matcher.overBudget())
                return false;
            const GrammarMode &mode = *m_frames.back().mode;
            if (!mode.hasTerminators)
                break;
            const QRegularExpressionMatch match =
                mode.terminators.match(m_text, index, QRegularExpression::NormalMatch, noCheck);
            if (!match.hasMatch())
                break;
            qsizetype next = match.capturedStart() + processLexeme(index, match);
            if (m_matcher.m_overBudget)
                return false;
            if (next > index) {
                stepsInPlace = 0;
            } else if (++stepsInPlace > maxStepsInPlace) {
                next = characterEnd(index);
                appendToBuffer(index, next);
                stepsInPlace = 0;
            }
            index = next;
        }
        appendToBuffer(index, size);
        processBuffer();
        return !m_matcher.m_overBudget;
    }

private:
    struct LastLexeme
    {
        LexemeType type = LexemeType::none;
        qsizetype index = -1;
    };

    // The end of the character at `at`, a surrogate pair taken whole.
    qsizetype characterEnd(qsizetype at) const
    {
        if (at >= m_code.size())
            return at + 1;
        if (m_code[at].isHighSurrogate() && at + 1 < m_code.size() && m_code[at + 1].isLowSurrogate())
            return at + 2;
        return at + 1;
    }

    void appendToBuffer(qsizetype start, qsizetype end)
    {
        end = std::min(end, m_code.size());
        if (start >= end)
            return;
        if (m_bufferStart == m_bufferEnd)
            m_bufferStart = start;
        m_bufferEnd = std::max(m_bufferEnd, end);
    }

    void setBuffer(qsizetype start, qsizetype end)
    {
        m_bufferStart = start;
        m_bufferEnd = end;
    }

    // The lexeme found at `match`, after the text from `index` on; returns how far past the
    // lexeme's start the matcher goes on.
    qsizetype processLexeme(qsizetype index, const QRegularExpressionMatch &match)
    {
        const qsizetype start = match.capturedStart();
        const qsizetype end = match.capturedEnd();
        appendToBuffer(index, start);

        const GrammarMode &mode = *m_frames.back().mode;
        LexemeType type = LexemeType::illegal;
        int rule = GrammarMode::illegalRule;
        for (const GrammarMode::Rule &candidate : mode.rules) {
            if (match.capturedStart(candidate.group) >= 0) {
                rule = candidate.rule;
                type = rule >= 0 ? LexemeType::begin
                                 : (rule == GrammarMode::endRule ? LexemeType::end : LexemeType::illegal);
                break;
            }
        }

        // An empty end right after an empty begin at the same place, or an empty lexeme after
        // an illegal one, would stop the matcher: the character is taken as text.
        const bool empty = start == end;
        if (empty &&
            ((m_last.type == LexemeType::begin && type == LexemeType::end && m_last.index == start) ||
             m_last.type == LexemeType::illegal)) {
            const qsizetype next = characterEnd(start);
            appendToBuffer(start, next);
            return next - start;
        }
        m_last = {type, start};

        if (type == LexemeType::begin)
            return beginMode(rule, start, end);
        if (type == LexemeType::end) {
            if (const std::optional<qsizetype> processed = endMode(start, end))
                return *processed;
        }
        // An illegal lexeme, or an end that its mode's own end pattern does not take.
        appendToBuffer(start, end);
        return end - start;
    }

    qsizetype beginMode(int rule, qsizetype start, qsizetype end)
    {
        const GrammarMode &mode = m_grammar.mode(m_frames.back().mode->contains[std::size_t(rule)]);
        Frame frame{&mode, mode.kind >= 0 ? mode.kind : m_frames.back().kind, {}, false};
        if (mode.endSameAsBegin) {
            frame.sameEnd = QRegularExpression(QRegularExpression::escape(m_code.mid(start, end - start)));
            frame.hasSameEnd = true;
        }
        if (mode.skip) {
            appendToBuffer(start, end);
        } else {
            if (mode.excludeBegin)
                appendToBuffer(start, end);
            processBuffer();
            if (!mode.returnBegin && !mode.excludeBegin)
                setBuffer(start, end);
        }
        m_frames.push_back(std::move(frame));
        return mode.returnBegin ? 0 : end - start;
    }

    std::optional<qsizetype> endMode(qsizetype start, qsizetype end)
    {
        const int ending = endingFrame(int(m_frames.size()) - 1, start);
        if (ending < 0)
            return std::nullopt;
        const GrammarMode &origin = *m_frames.back().mode;
        if (origin.skip) {
            appendToBuffer(start, end);
        } else {
            if (!(origin.returnEnd || origin.excludeEnd))
                appendToBuffer(start, end);
            processBuffer();
            if (origin.excludeEnd)
                setBuffer(start, end);
        }
        const Frame ended = m_frames[std::size_t(ending)];
        m_frames.resize(std::size_t(ending));
        if (ended.mode->starts >= 0) {
            const GrammarMode &starts = m_grammar.mode(ended.mode->starts);
            Frame frame{&starts, starts.kind >= 0 ? starts.kind : m_frames.back().kind, {}, false};
            if (ended.mode->endSameAsBegin) {
                frame.sameEnd = ended.sameEnd;
                frame.hasSameEnd = ended.hasSameEnd;
            }
            m_frames.push_back(std::move(frame));
        }
        return origin.returnEnd ? 0 : end - start;
    }

    // The frame that ends at `at`: the first from `frame` outwards whose end matches there,
    // looking past those that end with their parent, then out to the parent of any that end
    // their parent too. -1 when none ends.
    int endingFrame(int frame, qsizetype at) const
    {
        for (; frame >= 0; --frame) {
            const Frame &candidate = m_frames[std::size_t(frame)];
            const QRegularExpression *end = candidate.hasSameEnd     ? &candidate.sameEnd
                                            : candidate.mode->hasEnd ? &candidate.mode->end
                                                                     : nullptr;
            if (end && end->match(m_text, at, QRegularExpression::NormalMatch,
                                  QRegularExpression::AnchorAtOffsetMatchOption | noCheck)
                           .hasMatch()) {
                while (frame > 0 && m_frames[std::size_t(frame)].mode->endsParent)
                    --frame;
                return frame;
            }
            if (!candidate.mode->endsWithParent)
                return -1;
        }
        return -1;
    }

    void processBuffer()
    {
        const qsizetype start = m_bufferStart;
        const qsizetype end = m_bufferEnd;
        m_bufferStart = m_bufferEnd = 0;
        if (start >= end)
            return;
        if (m_frames.back().mode->hasSubLanguage)
            processSubLanguage(start, end);
        else
            processKeywords(start, end);
    }

    void processKeywords(qsizetype start, qsizetype end)
    {
        const Frame &frame = m_frames.back();
        const GrammarMode &mode = *frame.mode;
        if (mode.keywordKinds.isEmpty()) {
            addToken(start, end, frame.kind);
            return;
        }
        if (mode.wordLexemes) {
            qsizetype at = start;
            while (at < end) {
                qsizetype wordStart = at;
                while (wordStart < end && !isWordCharacter(m_code[wordStart]))
                    ++wordStart;
                qsizetype wordEnd = wordStart;
                while (wordEnd < end && isWordCharacter(m_code[wordEnd]))
                    ++wordEnd;
                addToken(at, wordStart, frame.kind);
                if (wordStart < wordEnd)
                    addToken(wordStart, wordEnd,
                             keywordKind(mode, m_code.mid(wordStart, wordEnd - wordStart), frame.kind));
                at = wordEnd;
            }
            return;
        }
        // The words are found in the buffer alone, as highlight.js finds them.
        const QString buffer = m_code.mid(start, end - start).toString();
        qsizetype at = 0;
        qsizetype searchFrom = 0;
        while (searchFrom <= buffer.size()) {
            const QRegularExpressionMatch match =
                mode.lexemes.match(buffer, searchFrom, QRegularExpression::NormalMatch, noCheck);
            if (!match.hasMatch())
                break;
            const qsizetype wordStart = match.capturedStart();
            const qsizetype wordEnd = match.capturedEnd();
            addToken(start + at, start + wordStart, frame.kind);
            addToken(start + wordStart, start + wordEnd,
                     keywordKind(mode, QStringView(buffer).mid(wordStart, wordEnd - wordStart), frame.kind));
            at = wordEnd;
            searchFrom = wordEnd > wordStart ? wordEnd : wordEnd + 1;
        }
        addToken(start + at, end, frame.kind);
    }

    int keywordKind(const GrammarMode &mode, QStringView word, int otherwise) const
    {
        if (m_grammar.caseInsensitive()) {
            const QString lower = word.toString().toLower();
            return mode.keywordKinds.value(QStringView(lower), otherwise);
        }
        return mode.keywordKinds.value(word, otherwise);
    }

    void processSubLanguage(qsizetype start, qsizetype end)
    {
        const Frame &frame = m_frames.back();
        const Grammar *language = nullptr;
        for (const QString &name : frame.mode->subLanguages) {
            language = m_matcher.m_library.grammar(name);
            if (language || frame.mode->explicitSubLanguage)
                break;
        }
        if (!language || m_matcher.m_depth >= maxSubLanguageDepth) {
            addToken(start, end, frame.kind);
            return;
        }
        ++m_matcher.m_depth;
        Pass(m_matcher, m_code.mid(start, end - start).toString(), m_offset + start, *language, frame.kind)
            .run();
        --m_matcher.m_depth;
    }

    void addToken(qsizetype start, qsizetype end, int kind)
    {
        m_matcher.addToken(m_offset + start, m_offset + end, kind);
    }

    GrammarMatcher &m_matcher;
    const QString m_text;
    QStringView m_code;
    qsizetype m_offset = 0;
    const Grammar &m_grammar;
    std::vector<Frame> m_frames;
    qsizetype m_bufferStart = 0;
    qsizetype m_bufferEnd = 0;
    LastLexeme m_last;
};

GrammarMatcher::GrammarMatcher(const GrammarLibrary &library, std::chrono::steady_clock::time_point deadline)
    : m_library(library), m_deadline(deadline)
{}

bool GrammarMatcher::run(QStringView code, const Grammar &grammar)
{
    m_tokens.clear();
    m_emittedUpTo = 0;
    return Pass(*this, validText(code), 0, grammar, -1).run();
}

void GrammarMatcher::addToken(qsizetype start, qsizetype end, int kind)
{
    start = std::max(start, m_emittedUpTo);
    if (start >= end)
        return;
    m_emittedUpTo = end;
    if (kind < 0)
        return;
    if (!m_tokens.isEmpty()) {
        CodeToken &last = m_tokens.last();
        if (int(last.kind) == kind && last.start + last.length == start) {
            last.length = int(end - last.start);
            return;
        }
    }
    m_tokens.append(CodeToken{int(start), int(end - start), CodeTokenKind(kind)});
}

bool GrammarMatcher::overBudget()
{
    if (m_overBudget)
        return true;
    if (++m_stepsSinceClockCheck < stepsBetweenClockChecks)
        return false;
    m_stepsSinceClockCheck = 0;
    m_overBudget = std::chrono::steady_clock::now() > m_deadline;
    return m_overBudget;
}

} // namespace kestrune
