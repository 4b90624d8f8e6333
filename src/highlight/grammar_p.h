#pragma once

#include <QCborArray>
#include <QCborMap>
#include <QHash>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <vector>

namespace kestrune {

// One mode of a grammar as highlight.js compiles it: where it begins and ends, what it holds,
// how its words are told apart and which of them are keywords. The fields follow highlight.js's
// compiled modes; the matcher (GrammarMatcher) reads them, nothing changes them after loading.
struct GrammarMode
{
    // What a rule of the combined terminator pattern stands for, past the contained modes.
    static constexpr int endRule = -1;
    static constexpr int illegalRule = -2;
    struct Rule
    {
        int group = 0; // the capture group that starts the rule's alternative
        int rule = 0;  // an index into `contains`, endRule or illegalRule
    };

    int kind = -1; // the CodeTokenKind its class stands for, -1 for none
    QString className;

    // One search finds the next begin of a contained mode, the end or an illegal lexeme.
    QRegularExpression terminators;
    bool hasTerminators = false;
    std::vector<Rule> rules;

    QRegularExpression end;
    bool hasEnd = false;

    bool endsWithParent = false;
    bool endsParent = false;
    bool returnBegin = false;
    bool returnEnd = false;
    bool excludeBegin = false;
    bool excludeEnd = false;
    bool skip = false;
    bool endSameAsBegin = false;

    bool hasSubLanguage = false;
    bool explicitSubLanguage = false;
    QStringList subLanguages;

    // The keywords with a kind of their own, by word (lower-case in a grammar that ignores
    // case). The views point into keywordWords.
    bool hasKeywords = false;
    std::vector<QString> keywordWords;
    QHash<QStringView, int> keywordKinds;
    // Words are runs of \w unless the grammar says otherwise.
    bool wordLexemes = true;
    QRegularExpression lexemes;

    std::vector<int> contains; // indices into Grammar::modes
    int starts = -1;
};

// A language's modes, the language itself first. Built from the exported grammars; immutable.
class Grammar
{
public:
    // The language `name` described by `language` (an entry of the export's languages) over
    // the export's mode list.
    Grammar(const QString &name, const QCborMap &language, const QCborArray &modes);

    const QString &name() const { return m_name; }
    bool caseInsensitive() const { return m_caseInsensitive; }
    const GrammarMode &mode(int index) const { return m_modes[std::size_t(index)]; }
    int modeCount() const { return int(m_modes.size()); }
    // Every pattern the grammar compiled, for checking them.
    std::vector<QRegularExpression> patterns() const;

private:
    QString m_name;
    bool m_caseInsensitive = false;
    std::vector<GrammarMode> m_modes;
};

} // namespace kestrune
