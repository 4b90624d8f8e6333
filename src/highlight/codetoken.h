#pragma once

#include <QString>

namespace kestrune {

// What a stretch of code is, as far as its colour goes. A grammar's finer scopes fold into
// these; the document theme gives each a colour in light and in dark.
enum class CodeTokenKind : unsigned char
{
    keyword,   // language keywords
    builtIn,   // built-in functions, objects and types of the language's library
    type,      // type and class names
    title,     // the name being declared: a function, a class, a section of a file
    string,    // string and character literals
    number,    // numeric literals
    literal,   // true, false, null and the like
    comment,   // comments and documentation comments
    meta,      // preprocessor lines, annotations, decorators, shebangs
    tag,       // markup tags and their names
    attribute, // markup attributes, object keys, properties
    variable,  // variables and template placeholders
    regexp,    // regular expressions and symbols
    addition,  // added lines of a diff
    deletion,  // removed lines of a diff
    section,   // headings in markup, hunk headers of a diff
    link,      // links in markup
    emphasis,  // emphasised and strong text in markup, quotes
};

constexpr int codeTokenKindCount = int(CodeTokenKind::emphasis) + 1;

// A stretch of code `length` characters long from `start` (UTF-16 offsets into the code).
struct CodeToken
{
    int start = 0;
    int length = 0;
    CodeTokenKind kind = CodeTokenKind::keyword;
    friend bool operator==(const CodeToken &, const CodeToken &) = default;
};

// The name of a kind in HTML class names and reports ("keyword", "built-in", ...).
QString codeTokenKindName(CodeTokenKind kind);

} // namespace kestrune
