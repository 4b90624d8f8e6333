#pragma once

#include "text/searchpattern.h"

#include <QString>

namespace kestrune {

// What a find or search says of a regular expression that does not compile, in the interface
// language: the common errors of the expression engine in words of their own ("“)” missing at
// position 5"), any other as "Invalid expression at position 5". Positions count the characters
// of the expression from 1. The engine's own English words stay for the command line.
class InvalidExpressionText
{
public:
    InvalidExpressionText() = delete;

    // The text for an invalid pattern; empty for a valid one.
    static QString of(const SearchPattern &pattern);
};

} // namespace kestrune
