#pragma once

namespace kestrune {

// Heap settings for a process that parses and lays out large documents.
//
// Opening a document builds a parser tree, a document model and a layout of
// tens of megabytes and frees most of it again; the next document builds as
// much anew. By default the C library hands freed memory at the top of the heap
// back to the system at once and serves large blocks with fresh mappings, so
// every document touches all its memory for the first time, and page faults
// then cost more than parsing. The program keeps a bounded amount of freed
// memory for reuse instead.
class ProcessHeap
{
public:
    // Freed memory kept at the top of the heap, at most.
    static constexpr int keptFreeBytes = 64 << 20;
    // Blocks at least this large get mappings of their own.
    static constexpr int ownMappingBytes = 32 << 20;

    // Applies the settings; call once, early in main. Does nothing where the C
    // library has no such settings.
    static void configureForDocuments();
};

} // namespace kestrune
