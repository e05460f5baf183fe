#pragma once
// Text for the terminal.

namespace velquior::platform {

// The program writes UTF-8 to std::cout and std::cerr; where a console
// would show those bytes in another code page (Windows), a stream writing to
// a console shows them as the characters they are. Output sent to a file or
// a pipe stays UTF-8 bytes. Call after std::ios::sync_with_stdio, which
// replaces the streams' buffers.
void UseUtf8Console();

}  // namespace velquior::platform
