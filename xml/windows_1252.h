#pragma once
// Windows-1252 for libxml2, the program's own: the same conversion whether
// or not libxml2 was built with iconv. It converts as iconv's CP1252 does:
// the five bytes the code page leaves undefined (0x81 0x8D 0x8F 0x90 0x9D)
// stop reading, and characters it lacks, U+0080..U+009F among them, are
// written by libxml2 as "&#N;". Unlike iconv, which drops the tag characters
// U+E0000..U+E007F without a word, it gives them as references too.

namespace velquior::xml::detail {

// Registers the handler as WINDOWS-1252, with CP1252 and MS-ANSI as its
// aliases (names compared without case). Called once, from InitLibxml.
void RegisterWindows1252();

// libxml2's converter contract: *inlen and *outlen come in as the sizes and
// go out as the bytes read and written. The result is the bytes written, -1
// when `out` is full, -2 at a byte or character that cannot be converted
// (left unread), -3 at a UTF-8 sequence cut by the end of `in`.
int Windows1252ToUtf8(unsigned char* out, int* outlen, const unsigned char* in, int* inlen);
int Utf8ToWindows1252(unsigned char* out, int* outlen, const unsigned char* in, int* inlen);

}  // namespace velquior::xml::detail
