#pragma once

#include "highlight/grammar_p.h"

#include <QCborArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>
#include <vector>

namespace kestrune {

// The bundled grammars, read from the library's resource on first use. A language's grammar is
// compiled the first time it is asked for, once, whichever thread asks; afterwards everything
// here is only read.
class GrammarLibrary
{
public:
    static const GrammarLibrary &instance();

    // The bundled languages in the order they were exported.
    const QStringList &languages() const { return m_languages; }
    // The language a name or alias stands for ("ts" is "typescript"), ignoring letter case;
    // empty when nothing is bundled under it.
    QString resolve(QStringView nameOrAlias) const;
    // The grammar of a bundled language (a name languages() lists), or null.
    const Grammar *grammar(const QString &language) const;

private:
    GrammarLibrary();

    struct Entry
    {
        QCborMap language;
        mutable std::once_flag compiled;
        mutable std::unique_ptr<Grammar> grammar;
    };

    QCborArray m_modes;
    QStringList m_languages;
    QHash<QString, std::shared_ptr<Entry>> m_entries;
    QHash<QString, QString> m_aliases; // lower-case alias -> language
};

} // namespace kestrune
