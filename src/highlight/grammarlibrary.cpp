#include "highlight/grammarlibrary_p.h"

#include <QCborValue>
#include <QFile>

#include <array>
#include <utility>

namespace kestrune {

namespace {

// Names people put on fences beside the grammars' own aliases. They win over those.
constexpr std::array<std::pair<QStringView, QStringView>, 44> extraAliases{{
    {u"ts", u"typescript"}, {u"tsx", u"typescript"},  {u"mts", u"typescript"},    {u"cts", u"typescript"},
    {u"js", u"javascript"}, {u"jsx", u"javascript"},  {u"mjs", u"javascript"},    {u"cjs", u"javascript"},
    {u"sh", u"bash"},       {u"shell", u"bash"},      {u"zsh", u"bash"},          {u"cs", u"cs"},
    {u"csharp", u"cs"},     {u"c#", u"cs"},           {u"jsonc", u"json"},        {u"json5", u"json"},
    {u"yml", u"yaml"},      {u"toml", u"ini"},        {u"py", u"python"},         {u"rs", u"rust"},
    {u"c", u"cpp"},         {u"h", u"cpp"},           {u"c++", u"cpp"},           {u"cpp", u"cpp"},
    {u"cc", u"cpp"},        {u"hpp", u"cpp"},         {u"html", u"xml"},          {u"htm", u"xml"},
    {u"svg", u"xml"},       {u"xhtml", u"xml"},       {u"md", u"markdown"},       {u"markdown", u"markdown"},
    {u"kt", u"kotlin"},     {u"patch", u"diff"},      {u"docker", u"dockerfile"}, {u"text", u"plaintext"},
    {u"txt", u"plaintext"}, {u"plain", u"plaintext"}, {u"golang", u"go"},         {u"shellsession", u"shell"},
    {u"console", u"shell"}, {u"ps1", u"powershell"},  {u"proto", u"protobuf"},    {u"rb", u"ruby"},
}};

QCborMap readExport()
{
    QFile file(QStringLiteral(":/kestrune/highlight/grammars.cbor"));
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("kestrune_highlight: the grammars are missing from the resources");
        return {};
    }
    return QCborValue::fromCbor(file.readAll()).toMap();
}

} // namespace

const GrammarLibrary &GrammarLibrary::instance()
{
    static const GrammarLibrary library;
    return library;
}

GrammarLibrary::GrammarLibrary()
{
    const QCborMap exported = readExport();
    m_modes = exported.value(QLatin1String("modes")).toArray();
    const QCborMap languages = exported.value(QLatin1String("languages")).toMap();
    for (const auto &name : exported.value(QLatin1String("order")).toArray()) {
        const QString language = name.toString();
        auto entry = std::make_shared<Entry>();
        entry->language = languages.value(language).toMap();
        m_languages.append(language);
        m_entries.insert(language, entry);
        m_aliases.insert(language.toLower(), language);
    }
    for (const QString &language : std::as_const(m_languages)) {
        for (const auto &alias :
             m_entries.value(language)->language.value(QLatin1String("aliases")).toArray()) {
            const QString key = alias.toString().toLower();
            if (!m_aliases.contains(key))
                m_aliases.insert(key, language);
        }
    }
    for (const auto &[alias, language] : extraAliases) {
        if (m_entries.contains(language.toString()))
            m_aliases.insert(alias.toString(), language.toString());
    }
}

QString GrammarLibrary::resolve(QStringView nameOrAlias) const
{
    return m_aliases.value(nameOrAlias.toString().toLower());
}

const Grammar *GrammarLibrary::grammar(const QString &language) const
{
    const std::shared_ptr<Entry> entry = m_entries.value(language);
    if (!entry)
        return nullptr;
    std::call_once(entry->compiled,
                   [&] { entry->grammar = std::make_unique<Grammar>(language, entry->language, m_modes); });
    return entry->grammar.get();
}

} // namespace kestrune
