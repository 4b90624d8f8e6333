#include "highlight/highlightclasses_p.h"

#include <array>
#include <utility>

namespace kestrune {

namespace {

using Entry = std::pair<QStringView, CodeTokenKind>;

// Every class the bundled grammars give that has a colour of its own.
constexpr std::array classKinds{
    Entry{u"keyword", CodeTokenKind::keyword},
    Entry{u"bullet", CodeTokenKind::keyword},
    Entry{u"built_in", CodeTokenKind::builtIn},
    Entry{u"builtin-name", CodeTokenKind::builtIn},
    Entry{u"type", CodeTokenKind::type},
    Entry{u"title", CodeTokenKind::title},
    Entry{u"section", CodeTokenKind::section},
    Entry{u"string", CodeTokenKind::string},
    Entry{u"code", CodeTokenKind::string},
    Entry{u"subst", CodeTokenKind::variable},
    Entry{u"number", CodeTokenKind::number},
    Entry{u"literal", CodeTokenKind::literal},
    Entry{u"comment", CodeTokenKind::comment},
    Entry{u"doctag", CodeTokenKind::comment},
    Entry{u"quote", CodeTokenKind::emphasis},
    Entry{u"meta", CodeTokenKind::meta},
    Entry{u"meta-keyword", CodeTokenKind::meta},
    Entry{u"meta-string", CodeTokenKind::meta},
    Entry{u"tag", CodeTokenKind::tag},
    Entry{u"name", CodeTokenKind::tag},
    Entry{u"selector-tag", CodeTokenKind::tag},
    Entry{u"attr", CodeTokenKind::attribute},
    Entry{u"attribute", CodeTokenKind::attribute},
    Entry{u"property", CodeTokenKind::attribute},
    Entry{u"selector-class", CodeTokenKind::attribute},
    Entry{u"selector-id", CodeTokenKind::attribute},
    Entry{u"selector-attr", CodeTokenKind::attribute},
    Entry{u"selector-pseudo", CodeTokenKind::attribute},
    Entry{u"variable", CodeTokenKind::variable},
    Entry{u"template-variable", CodeTokenKind::variable},
    Entry{u"template-tag", CodeTokenKind::variable},
    Entry{u"regexp", CodeTokenKind::regexp},
    Entry{u"symbol", CodeTokenKind::regexp},
    Entry{u"link", CodeTokenKind::link},
    Entry{u"addition", CodeTokenKind::addition},
    Entry{u"deletion", CodeTokenKind::deletion},
    Entry{u"emphasis", CodeTokenKind::emphasis},
    Entry{u"strong", CodeTokenKind::emphasis},
};

} // namespace

std::optional<CodeTokenKind> codeTokenKindOfClass(QStringView className)
{
    for (const auto &[name, kind] : classKinds) {
        if (name == className)
            return kind;
    }
    return std::nullopt;
}

} // namespace kestrune
