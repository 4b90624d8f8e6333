#include "highlight/grammar_p.h"

#include "highlight/highlightclasses_p.h"
#include "highlight/jsregextranslation_p.h"

#include <QCborValue>

namespace kestrune {

namespace {

int kindOfClass(QStringView className)
{
    const std::optional<CodeTokenKind> kind = codeTokenKindOfClass(className);
    return kind ? int(*kind) : -1;
}

GrammarMode modeFromExport(const QCborMap &source, const QHash<qint64, int> &localIndex)
{
    GrammarMode mode;
    const bool caseInsensitive = source.value(QLatin1String("caseInsensitive")).toBool();
    mode.className = source.value(QLatin1String("className")).toString();
    mode.kind = kindOfClass(mode.className);

    const QString terminators = source.value(QLatin1String("terminators")).toString();
    if (!terminators.isNull()) {
        mode.hasTerminators = true;
        mode.terminators = compileJavaScriptPattern(terminators, caseInsensitive);
        for (const auto &rule : source.value(QLatin1String("rules")).toArray()) {
            const QCborArray pair = rule.toArray();
            mode.rules.push_back({int(pair.at(0).toInteger()), int(pair.at(1).toInteger())});
        }
    }
    const QString end = source.value(QLatin1String("end")).toString();
    if (!end.isNull()) {
        mode.hasEnd = true;
        mode.end = compileJavaScriptPattern(end, caseInsensitive);
    }
    mode.endsWithParent = source.value(QLatin1String("endsWithParent")).toBool();
    mode.endsParent = source.value(QLatin1String("endsParent")).toBool();
    mode.returnBegin = source.value(QLatin1String("returnBegin")).toBool();
    mode.returnEnd = source.value(QLatin1String("returnEnd")).toBool();
    mode.excludeBegin = source.value(QLatin1String("excludeBegin")).toBool();
    mode.excludeEnd = source.value(QLatin1String("excludeEnd")).toBool();
    mode.skip = source.value(QLatin1String("skip")).toBool();
    mode.endSameAsBegin = source.value(QLatin1String("endSameAsBegin")).toBool();

    const QCborValue subLanguage = source.value(QLatin1String("subLanguage"));
    if (subLanguage.isArray()) {
        mode.hasSubLanguage = true;
        mode.explicitSubLanguage = source.value(QLatin1String("explicitSubLanguage")).toBool();
        for (const auto &name : subLanguage.toArray())
            mode.subLanguages.append(name.toString());
    }

    const QCborValue keywords = source.value(QLatin1String("keywords"));
    if (keywords.isMap()) {
        mode.hasKeywords = true;
        const QCborMap map = keywords.toMap();
        // The views into the words must not move: the storage is sized once.
        mode.keywordWords.reserve(std::size_t(map.size()));
        for (auto entry = map.begin(); entry != map.end(); ++entry) {
            const int kind = kindOfClass(entry.value().toString());
            if (kind < 0)
                continue;
            mode.keywordWords.push_back(entry.key().toString());
            mode.keywordKinds.insert(QStringView(mode.keywordWords.back()), kind);
        }
    }
    const QString lexemes = source.value(QLatin1String("lexemes")).toString();
    mode.wordLexemes = lexemes.isEmpty() || lexemes == u"\\w+";
    if (!mode.wordLexemes)
        mode.lexemes = compileJavaScriptPattern(lexemes, caseInsensitive);

    for (const auto &id : source.value(QLatin1String("contains")).toArray())
        mode.contains.push_back(localIndex.value(id.toInteger()));
    const QCborValue starts = source.value(QLatin1String("starts"));
    if (starts.isInteger())
        mode.starts = localIndex.value(starts.toInteger());
    return mode;
}

} // namespace

Grammar::Grammar(const QString &name, const QCborMap &language, const QCborArray &modes)
    : m_name(name), m_caseInsensitive(language.value(QLatin1String("caseInsensitive")).toBool())
{
    // The modes this language reaches, numbered from its top in the order they are found.
    QHash<qint64, int> localIndex;
    std::vector<qint64> order;
    auto visit = [&](qint64 id) {
        if (!localIndex.contains(id)) {
            localIndex.insert(id, int(order.size()));
            order.push_back(id);
        }
    };
    visit(language.value(QLatin1String("top")).toInteger());
    for (std::size_t at = 0; at < order.size(); ++at) {
        const QCborMap mode = modes.at(order[at]).toMap();
        for (const auto &id : mode.value(QLatin1String("contains")).toArray())
            visit(id.toInteger());
        const QCborValue starts = mode.value(QLatin1String("starts"));
        if (starts.isInteger())
            visit(starts.toInteger());
    }
    m_modes.reserve(order.size());
    for (const qint64 id : order)
        m_modes.push_back(modeFromExport(modes.at(id).toMap(), localIndex));
}

std::vector<QRegularExpression> Grammar::patterns() const
{
    std::vector<QRegularExpression> result;
    for (const GrammarMode &mode : m_modes) {
        if (mode.hasTerminators)
            result.push_back(mode.terminators);
        if (mode.hasEnd)
            result.push_back(mode.end);
        if (!mode.wordLexemes)
            result.push_back(mode.lexemes);
    }
    return result;
}

} // namespace kestrune
