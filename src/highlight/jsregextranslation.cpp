#include "highlight/jsregextranslation_p.h"

namespace kestrune {

namespace {

// What JavaScript's \s matches beyond PCRE2's ASCII \s, as class contents.
constexpr QStringView extraSpaces = u"\\x{a0}\\x{1680}\\x{2000}-\\x{200a}\\x{2028}\\x{2029}\\x{202f}\\x{205f}"
                                    u"\\x{3000}\\x{feff}";
// JavaScript's line terminators other than LF (PCRE2's only newline here).
constexpr QStringView otherLineEnds = u"\\r\\x{2028}\\x{2029}";

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool hexDigitsAt(QStringView pattern, qsizetype from, qsizetype count)
{
    if (from + count > pattern.size())
        return false;
    for (qsizetype i = from; i < from + count; ++i) {
        if (!isHexDigit(pattern[i]))
            return false;
    }
    return true;
}

class Translator
{
public:
    explicit Translator(QStringView pattern) : m_pattern(pattern) {}

    QString run()
    {
        m_out.reserve(m_pattern.size() * 2 + 8);
        // Only LF is a newline to PCRE2; the other line ends are spelt out below.
        m_out += u"(*LF)";
        while (m_at < m_pattern.size()) {
            const QChar c = m_pattern[m_at];
            if (c == u'\\')
                escape();
            else if (m_inClass)
                classCharacter(c);
            else
                character(c);
        }
        return m_out;
    }

private:
    void character(QChar c)
    {
        if (c == u'[') {
            const QStringView rest = m_pattern.mid(m_at);
            if (rest.startsWith(u"[^]")) {
                m_out += u"[\\s\\S]";
                m_at += 3;
            } else if (rest.startsWith(u"[]")) {
                m_out += u"(?!)";
                m_at += 2;
            } else {
                m_inClass = true;
                m_out += c;
                ++m_at;
                if (m_at < m_pattern.size() && m_pattern[m_at] == u'^') {
                    m_out += u'^';
                    ++m_at;
                }
            }
            return;
        }
        if (c == u'.') {
            m_out += u"[^\\n";
            m_out += otherLineEnds;
            m_out += u']';
        } else if (c == u'^') {
            m_out += u"(?:^|(?<=[\\n";
            m_out += otherLineEnds;
            m_out += u"]))";
        } else if (c == u'$') {
            m_out += u"(?:$|(?=[";
            m_out += otherLineEnds;
            m_out += u"]))";
        } else
            m_out += c;
        ++m_at;
    }

    void classCharacter(QChar c)
    {
        if (c == u']')
            m_inClass = false;
        if (c == u'[')
            m_out += u"\\[";
        else
            m_out += c;
        ++m_at;
    }

    // A class escape such as \d inside a class: a hyphen after it is a literal to JavaScript
    // but an invalid range to PCRE2.
    void afterClassEscape()
    {
        if (m_inClass && m_at + 1 < m_pattern.size() && m_pattern[m_at] == u'-' &&
            m_pattern[m_at + 1] != u']') {
            m_out += u"\\-";
            ++m_at;
        }
    }

    void escape()
    {
        if (m_at + 1 >= m_pattern.size()) {
            m_out += u"\\\\";
            ++m_at;
            return;
        }
        const QChar e = m_pattern[m_at + 1];
        m_at += 2;
        switch (e.unicode()) {
        case u'u':
            if (hexDigitsAt(m_pattern, m_at, 4)) {
                m_out += u"\\x{";
                m_out += m_pattern.mid(m_at, 4);
                m_out += u'}';
                m_at += 4;
            } else {
                m_out += u'u';
            }
            return;
        case u'x':
            if (hexDigitsAt(m_pattern, m_at, 2)) {
                m_out += u"\\x";
                m_out += m_pattern.mid(m_at, 2);
                m_at += 2;
            } else {
                m_out += u'x';
            }
            return;
        case u'd':
        case u'D':
        case u'w':
        case u'W':
            m_out += u'\\';
            m_out += e;
            afterClassEscape();
            return;
        case u's':
            m_out += m_inClass ? u"\\s" : u"[\\s";
            m_out += extraSpaces;
            if (!m_inClass)
                m_out += u']';
            afterClassEscape();
            return;
        case u'S':
            if (m_inClass) {
                m_out += u"\\S";
            } else {
                m_out += u"[^\\s";
                m_out += extraSpaces;
                m_out += u']';
            }
            afterClassEscape();
            return;
        case u'b':
            m_out += m_inClass ? u"\\x08" : u"\\b";
            return;
        case u'B':
            m_out += m_inClass ? u"B" : u"\\B";
            return;
        case u'v':
            m_out += u"\\x0b";
            return;
        case u'0':
            m_out += u"\\x00";
            return;
        case u'n':
        case u'r':
        case u't':
        case u'f':
            m_out += u'\\';
            m_out += e;
            return;
        case u'c':
            if (m_at < m_pattern.size() && m_pattern[m_at].isLetter() && m_pattern[m_at].unicode() < 128) {
                m_out += u"\\c";
                m_out += m_pattern[m_at++];
            } else {
                m_out += u"\\\\c";
            }
            return;
        default:
            break;
        }
        if (e >= u'1' && e <= u'9') {
            // A back-reference outside a class; inside one it is an octal escape.
            m_out += u'\\';
            m_out += e;
            while (m_at < m_pattern.size() && m_pattern[m_at].isDigit() && m_pattern[m_at].unicode() < 128)
                m_out += m_pattern[m_at++];
            return;
        }
        if (e.unicode() < 128 && e.isLetterOrNumber()) {
            // An identity escape: the letter itself to JavaScript, often something else to PCRE2.
            m_out += e;
            return;
        }
        m_out += u'\\';
        m_out += e;
    }

    QStringView m_pattern;
    QString m_out;
    qsizetype m_at = 0;
    bool m_inClass = false;
};

} // namespace

QString pcrePatternFromJavaScript(QStringView pattern)
{
    return Translator(pattern).run();
}

QRegularExpression compileJavaScriptPattern(QStringView pattern, bool caseInsensitive)
{
    QRegularExpression::PatternOptions options = QRegularExpression::MultilineOption;
    if (caseInsensitive)
        options |= QRegularExpression::CaseInsensitiveOption;
    QRegularExpression expression(pcrePatternFromJavaScript(pattern), options);
    expression.optimize();
    return expression;
}

} // namespace kestrune
