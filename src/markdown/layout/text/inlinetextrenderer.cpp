#include "markdown/layout/text/inlinetextrenderer.h"

#include "markdown/document/htmltag.h"
#include "markdown/layout/nodes/inlinequeries_p.h"

#include "ui/localization.h"
#include "ui/standardcolors.h"
#include "ui/symbolicon.h"

#include <QHash>
#include <QMutex>

#include <cmath>

namespace kestrune {

InlineTextRenderer::InlineTextRenderer(const Options &options, const TextAttributes &attributes)
    : m_options(options), m_attributes(attributes)
{}

StyledText InlineTextRenderer::render(const QList<InlineNode> &inlines, const Options &options,
                                      const TextAttributes &attributes)
{
    InlineTextRenderer renderer(options, attributes);
    for (const InlineNode &node : inlines)
        renderer.renderTopLevel(node);
    return std::move(renderer.m_result);
}

std::optional<QUrl> InlineTextRenderer::linkUrl(const QString &destination,
                                                const std::optional<QUrl> &baseUrl)
{
    const QUrl url(destination, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return baseUrl ? baseUrl->resolved(url) : url;
}

void InlineTextRenderer::appendFailedImage(StyledText &result, const QString &source, const QImage &symbol,
                                           const QString &text, TextAttributes attributes)
{
    attributes.foregroundColor = StandardColors::secondaryText;
    if (!symbol.isNull()) {
        result.appendImage(source, symbol, attributes);
        result.append(u"\u00a0", attributes);
    }
    result.append(text, attributes);
}

QImage InlineTextRenderer::failedImageSymbol(const FontProperties &properties, qreal devicePixelRatio)
{
    // Images keep their colours in both appearances: a grey that reads on light and dark pages.
    const int size = std::max(1, int(std::round(properties.scaledSize() * 0.9)));
    // An image, not a pixmap, kept per size: pages are also built off the window's thread.
    static QMutex mutex;
    static QHash<std::pair<int, qreal>, QImage> rendered;
    const QMutexLocker locker(&mutex);
    QImage &symbol = rendered[{size, devicePixelRatio}];
    if (symbol.isNull()) {
        symbol = SymbolIcon::image(u"photo.slash", size, QColor(0x8c, 0x8c, 0x8c), QFont::Normal,
                                   devicePixelRatio);
        symbol.setDevicePixelRatio(devicePixelRatio);
    }
    return symbol;
}

QString InlineTextRenderer::withheldImageText(const QString &alt, const QString &host)
{
    // The server is named even where no table of texts is loaded (tools, tests).
    const char *key = "markdown.image.remote_off";
    const QString note = Localization::hasText(key) ? Localization::format(key, host) : host;
    return alt.isEmpty() ? note : alt + QStringLiteral(" \u00b7 ") + note;
}

void InlineTextRenderer::renderTopLevel(const InlineNode &node)
{
    switch (node.kind()) {
    case InlineNode::Kind::image: {
        const auto &image = *node.as<Inline::Image>();
        const auto loaded = m_options.images.constFind(image.source);
        if (loaded != m_options.images.constEnd()) {
            m_result.appendImage(image.source, *loaded, m_attributes);
        } else if (m_options.failedImages.contains(image.source)) {
            const QString alt = InlineQueries::plainText(image.children);
            QString text = alt.isEmpty() ? image.source : alt;
            const auto host = m_options.withheldImageHosts.constFind(image.source);
            if (host != m_options.withheldImageHosts.constEnd())
                text = withheldImageText(alt, *host);
            appendFailedImage(m_result, image.source, m_options.failedImageSymbol, text, m_attributes);
        }
        return;
    }
    case InlineNode::Kind::softBreak:
        // At the top level a soft break is rendered afresh: in space mode it always gives its
        // space, even right after a "<br>".
        if (m_options.softBreakMode == SoftBreakMode::lineBreak) {
            m_shouldSkipNextWhitespace = true;
            appendLineFeed();
        } else {
            m_shouldSkipNextWhitespace = false;
            m_result.append(u" ", m_attributes);
        }
        return;
    default:
        renderNode(node);
    }
}

void InlineTextRenderer::renderNode(const InlineNode &node)
{
    switch (node.kind()) {
    case InlineNode::Kind::text:
        appendText(node.as<Inline::Text>()->text);
        break;
    case InlineNode::Kind::code:
        m_result.append(node.as<Inline::Code>()->code, m_options.styles.code.applied(m_attributes));
        break;
    case InlineNode::Kind::html: {
        const QString &html = node.as<Inline::Html>()->html;
        if (isLineBreakTag(html)) {
            appendLineFeed();
            m_shouldSkipNextWhitespace = true;
        } else if (!applyMarkTag(html)) {
            appendText(html);
        }
        break;
    }
    case InlineNode::Kind::emphasis:
        renderChildren(node.as<Inline::Emphasis>()->children, m_options.styles.emphasis);
        break;
    case InlineNode::Kind::strong:
        renderChildren(node.as<Inline::Strong>()->children, m_options.styles.strong);
        break;
    case InlineNode::Kind::strikethrough:
        renderChildren(node.as<Inline::Strikethrough>()->children, m_options.styles.strikethrough);
        break;
    case InlineNode::Kind::link: {
        const auto &link = *node.as<Inline::Link>();
        const TextAttributes outer = m_attributes;
        m_options.styles.link.apply(m_attributes);
        m_attributes.link = linkUrl(link.destination, m_options.baseUrl);
        for (const InlineNode &child : link.children)
            renderNode(child);
        m_attributes = outer;
        break;
    }
    case InlineNode::Kind::image:
        break;
    case InlineNode::Kind::softBreak:
        if (m_options.softBreakMode == SoftBreakMode::lineBreak)
            appendLineFeed();
        else if (m_shouldSkipNextWhitespace)
            m_shouldSkipNextWhitespace = false;
        else
            m_result.append(u" ", m_attributes);
        break;
    case InlineNode::Kind::lineBreak:
        appendLineFeed();
        break;
    case InlineNode::Kind::footnoteReference:
        appendFootnoteReference(*node.as<Inline::FootnoteReference>());
        break;
    }
}

QString InlineTextRenderer::superscriptNumber(int number)
{
    static constexpr char16_t digits[] = u"\u2070\u00b9\u00b2\u00b3\u2074\u2075\u2076\u2077\u2078\u2079";
    QString text = QString::number(number);
    for (QChar &character : text) {
        if (character.isDigit())
            character = QChar(digits[character.digitValue()]);
    }
    return text;
}

void InlineTextRenderer::appendFootnoteReference(const Inline::FootnoteReference &reference)
{
    // The first reference to a note is where its back-link leads.
    m_result.anchors.append({int(m_result.text.size()), footnoteReferenceIdentifier(reference.label)});
    TextAttributes attributes = m_attributes;
    m_options.styles.link.apply(attributes);
    QUrl fragment;
    fragment.setFragment(footnoteIdentifier(reference.label));
    attributes.link = m_options.baseUrl ? m_options.baseUrl->resolved(fragment) : fragment;
    m_result.append(superscriptNumber(reference.number), attributes);
}

QString InlineTextRenderer::footnoteIdentifier(const QString &label)
{
    return QStringLiteral("fn-") + label;
}

QString InlineTextRenderer::footnoteReferenceIdentifier(const QString &label)
{
    return QStringLiteral("fnref-") + label;
}

void InlineTextRenderer::renderChildren(const QList<InlineNode> &children, const TextStyle &style)
{
    const TextAttributes outer = m_attributes;
    style.apply(m_attributes);
    for (const InlineNode &child : children)
        renderNode(child);
    m_attributes = outer;
}

void InlineTextRenderer::appendText(const QString &text)
{
    if (!m_shouldSkipNextWhitespace) {
        m_result.append(text, m_attributes);
        return;
    }
    m_shouldSkipNextWhitespace = false;
    // Leading whitespace as "^\s+" matches it.
    qsizetype start = 0;
    while (start < text.size() && text.at(start).isSpace())
        ++start;
    m_result.append(QStringView(text).mid(start), m_attributes);
}

void InlineTextRenderer::appendLineFeed()
{
    m_result.append(u"\n", m_attributes);
}

bool InlineTextRenderer::applyMarkTag(const QString &html)
{
    const std::optional<QString> name = HTMLTag::name(html);
    if (!name)
        return false;
    const QString lowered = name->toLower();
    const TextStyle *style = lowered == QLatin1String("ins")   ? &m_options.styles.inserted
                             : lowered == QLatin1String("del") ? &m_options.styles.deleted
                                                               : nullptr;
    if (!style)
        return false;
    if (!html.trimmed().startsWith(QLatin1String("</"))) {
        m_openMarks.append({lowered, m_attributes});
        style->apply(m_attributes);
        return true;
    }
    // A closing tag ends its mark and any opened inside it; one without an opening tag is dropped.
    for (qsizetype index = m_openMarks.size() - 1; index >= 0; --index) {
        if (m_openMarks.at(index).first == lowered) {
            m_attributes = m_openMarks.at(index).second;
            m_openMarks.resize(index);
            break;
        }
    }
    return true;
}

bool InlineTextRenderer::isLineBreakTag(const QString &html) const
{
    const std::optional<QString> name = HTMLTag::name(html);
    return name && name->toLower() == QLatin1String("br");
}

} // namespace kestrune
