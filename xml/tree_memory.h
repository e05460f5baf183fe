#pragma once
// Memory for libxml2's trees. An imported timetable is millions of small
// blocks (elements, attributes, texts); taken in size classes from one
// reserved region (platform/memory_region.h) that the system is asked to
// back with huge pages, they cost an import an eighth of the page faults
// and about a sixth less time than the C library's malloc
// (bench/import_bench.cpp).
//
// Blocks are never given back to the system: a freed block waits for the
// next document. Blocks larger than the classes, and every block once the
// region is full or could not be reserved, come from the C library.

#include <cstddef>

namespace velquior::xml::detail {

// Hands libxml2 the functions below; once per process, before libxml2 builds
// anything (InitLibxml calls it). Blocks that libxml2 took from the C library
// before still go back to it. Does nothing under a sanitizer, which must see
// every block, or where the region cannot be reserved.
void InstallTreeMemory();

// libxml2's contracts: 16-byte aligned blocks; free and realloc take null
// and any block of either origin.
void* TreeMalloc(std::size_t size);
void* TreeRealloc(void* block, std::size_t size);
void TreeFree(void* block);
char* TreeStrdup(const char* text);

}  // namespace velquior::xml::detail
