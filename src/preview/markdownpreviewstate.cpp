#include "preview/markdownpreviewstate.h"

#include <utility>

namespace kestrune {

MarkdownPreviewState::MarkdownPreviewState(Kind kind, QString payload)
    : m_kind(kind), m_payload(std::move(payload))
{}

MarkdownPreviewState MarkdownPreviewState::content(QString text)
{
    return {Kind::content, std::move(text)};
}

MarkdownPreviewState MarkdownPreviewState::error(QString message)
{
    return {Kind::error, std::move(message)};
}

MarkdownPreviewState MarkdownPreviewState::loading()
{
    return {};
}

MarkdownPreviewState MarkdownPreviewState::empty()
{
    return {Kind::empty, QString()};
}

} // namespace kestrune
