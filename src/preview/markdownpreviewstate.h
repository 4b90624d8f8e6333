#pragma once

#include <QString>

namespace kestrune {

// What the content area of the preview pane shows: the file's text, an error message ready for
// display, a loading indicator, or the empty-file notice. A plain value; loads on another
// thread hand one back.
class MarkdownPreviewState
{
public:
    enum class Kind
    {
        content,
        error,
        loading,
        empty
    };

    // The initial state of every pane.
    MarkdownPreviewState() = default;

    static MarkdownPreviewState content(QString text);
    static MarkdownPreviewState error(QString message);
    static MarkdownPreviewState loading();
    static MarkdownPreviewState empty();

    Kind kind() const { return m_kind; }
    bool isContent() const { return m_kind == Kind::content; }
    // The file's text in the content state, empty otherwise.
    QString text() const { return m_kind == Kind::content ? m_payload : QString(); }
    // The message in the error state, empty otherwise.
    QString message() const { return m_kind == Kind::error ? m_payload : QString(); }

    friend bool operator==(const MarkdownPreviewState &, const MarkdownPreviewState &) = default;

private:
    MarkdownPreviewState(Kind kind, QString payload);

    Kind m_kind = Kind::loading;
    QString m_payload;
};

} // namespace kestrune
