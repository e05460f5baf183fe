#pragma once
// Text for the terminal.

namespace velquior::platform {

// The program writes UTF-8 to std::cout and std::cerr; where a console
// would show those bytes in another code page (Windows), a stream writing to
// a console shows them as the characters they are. Output sent to a file or
// a pipe stays UTF-8 bytes, lines ending in LF. Call after
// std::ios::sync_with_stdio, which replaces the streams' buffers.
void UseUtf8Console();

// A reader that stops reading (`velquior-convert dump T | head`) makes
// further writes fail instead of ending the program: a conversion under way
// still finishes, and what nobody reads is dropped.
void SurviveClosedOutput();

// Asked after a write to standard output failed: whether it failed because
// standard output is a pipe whose reader has gone, which is no error for a
// listing.
bool StandardOutputReaderGone();

}  // namespace velquior::platform
