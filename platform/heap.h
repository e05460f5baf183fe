#pragma once
// How the C library's heap grows and shrinks.

namespace velquior::platform {

// For a run that builds one large tree and drops it at the end: the heap
// grows in large steps and is not trimmed in between. Does nothing where the
// C library has no such settings.
void TuneHeapForOneLargeTree();

}  // namespace velquior::platform
