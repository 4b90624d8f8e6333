#pragma once

#include "markdown/document/alertkind.h"
#include "markdown/document/inlinecontent.h"
#include "markdown/document/markdowncontent.h"
#include "markdown/layout/style/blockview.h"

#include <QString>

#include <optional>

namespace kestrune {

// The configurations block styles receive.

// A block as the engine draws it without styling (`label`) and the block itself.
struct BlockConfiguration
{
    BlockView label;
    MarkdownContent content;
};

struct CodeBlockConfiguration
{
    std::optional<QString> language; // the fence info
    QString content;                 // the code, less one final line feed
    BlockView label;                 // the code as the syntax highlighter draws it
};

struct ListMarkerConfiguration
{
    int listLevel = 1; // 1 for a top-level list
    int itemNumber = 1;
};

struct TaskListMarkerConfiguration
{
    bool isCompleted = false;
};

struct FootnoteConfiguration
{
    int number = 1; // notes are numbered from 1 in the order they stand at the end of the document
    QString name;   // the label the text gave the note
    BlockView label;
    MarkdownContent content;
};

// A block quote that calls something out (AlertKind).
struct AlertConfiguration
{
    AlertKind kind = AlertKind::note;
    QString title;     // translated: "Note", "Hinweis"
    QString symbol;    // the SymbolIcon name of the kind's mark, "callout.note"
    BlockView heading; // the title as text that is drawn but not selected, found or copied
    BlockView label;   // the body
    MarkdownContent content;
};

struct TableCellConfiguration
{
    int row = 0; // row 0 is the header row
    int column = 0;
    BlockView label;
    InlineContent content;
};

} // namespace kestrune
