#pragma once

#include <QByteArray>

// A made-up specification of about `bytes` bytes: requirement sections with emphasis, links,
// autolinks, nested and numbered lists, task items, a table, a fenced code block and a quote.
// The parser, layout and preview benchmarks measure the same text.
QByteArray specificationDocument(qsizetype bytes);
