#pragma once
// What writing Transformado=1 into section Transformadores makes of a file:
// the INI writer's table, shared with the test that holds it against the
// system's own profile writer.

#include <string>

namespace velquior::shell {

struct IniCase {
  const char* name;
  std::string before;
  std::string after;
  // Set where Wine's profile writer, standing in for the system's, writes
  // other bytes than the system does: what Wine writes, and why ours stands.
  const char* wine_after = nullptr;
  const char* wine_reason = nullptr;
};

// Wine reads the whole file and writes it anew from what it understood; the
// system edits the file's text, replacing just the key's value or adding
// just the missing lines, as its documentation describes.
inline constexpr const char* kWineLineEnds = "Wine ends every line it writes with CRLF";
inline constexpr const char* kWineBlankLines = "Wine drops blank lines";
inline constexpr const char* kWineLineEndsAndBlankLines = "Wine ends every line with CRLF and drops blank lines";
inline constexpr const char* kWineBlanks = "Wine drops the blanks around names and values";
inline constexpr const char* kWineLoneCr = "Wine takes a lone CR for a line break";

inline const IniCase kIniCases[] = {
    {"empty file", "", "[Transformadores]\r\nTransformado=1\r\n"},
    {"replaced in place, CRLF", "[Transformadores]\r\nTransformado=0\r\n", "[Transformadores]\r\nTransformado=1\r\n"},
    {"replaced in place, LF", "[Transformadores]\nTransformado=-1\n", "[Transformadores]\nTransformado=1\n",
     "[Transformadores]\r\nTransformado=1\r\n", kWineLineEnds},
    {"section and key in any case", "[TRANSFORMADORES]\r\ntransformado=7\r\n",
     "[TRANSFORMADORES]\r\ntransformado=1\r\n"},
    {"blanks around names and value kept", "  [ Transformadores ]  \n\tTransformado  =  42  \n",
     "  [ Transformadores ]  \n\tTransformado  =  1\n", "[Transformadores]\r\nTransformado=1\r\n", kWineBlanks},
    {"other sections, comments and keys untouched",
     "; Zeltimor\r\n[General]\r\nTransformado=9\r\n\r\n[Transformadores]\r\n;Transformado=5\r\n"
     "Otro=x\r\nTransformado=0\r\nMas=y\r\n\r\n[Fin]\r\nA=b\r\n",
     "; Zeltimor\r\n[General]\r\nTransformado=9\r\n\r\n[Transformadores]\r\n;Transformado=5\r\n"
     "Otro=x\r\nTransformado=1\r\nMas=y\r\n\r\n[Fin]\r\nA=b\r\n",
     "; Zeltimor\r\n[General]\r\nTransformado=9\r\n[Transformadores]\r\n;Transformado=5\r\n"
     "Otro=x\r\nTransformado=1\r\nMas=y\r\n[Fin]\r\nA=b\r\n",
     kWineBlankLines},
    {"no trailing newline, key replaced", "[Transformadores]\nTransformado=0", "[Transformadores]\nTransformado=1",
     "[Transformadores]\r\nTransformado=1\r\n", kWineLineEnds},
    {"no trailing newline, section appended", "[Otra]\r\nA=b",
     "[Otra]\r\nA=b\r\n[Transformadores]\r\nTransformado=1\r\n"},
    {"section appended in the file's line ending", "[Otra]\nA=b\n\n",
     "[Otra]\nA=b\n\n[Transformadores]\nTransformado=1\n", "[Otra]\r\nA=b\r\n[Transformadores]\r\nTransformado=1\r\n",
     kWineLineEndsAndBlankLines},
    {"key added after the last entry of its section", "[Transformadores]\r\nOtro=x\r\n\r\n[Fin]\r\n",
     "[Transformadores]\r\nOtro=x\r\nTransformado=1\r\n\r\n[Fin]\r\n",
     "[Transformadores]\r\nOtro=x\r\nTransformado=1\r\n[Fin]\r\n", kWineBlankLines},
    {"key added to an empty section at the end", "[Transformadores]", "[Transformadores]\r\nTransformado=1\r\n"},
    {"first of duplicated sections and keys wins",
     "[transformadores]\nTransformado=2\nTransformado=3\n[Transformadores]\nTransformado=4\n",
     "[transformadores]\nTransformado=1\nTransformado=3\n[Transformadores]\nTransformado=4\n",
     "[transformadores]\r\nTransformado=1\r\nTransformado=3\r\n[Transformadores]\r\nTransformado=4\r\n", kWineLineEnds},
    {"a key without '=' gets one", "[Transformadores]\nTransformado\n", "[Transformadores]\nTransformado=1\n",
     "[Transformadores]\r\nTransformado=1\r\n", kWineLineEnds},
    {"a longer key is another key", "[Transformadores]\nTransformados=0\n",
     "[Transformadores]\nTransformados=0\nTransformado=1\n",
     "[Transformadores]\r\nTransformados=0\r\nTransformado=1\r\n", kWineLineEnds},
    {"byte-order mark kept", "\xEF\xBB\xBF[Transformadores]\r\nTransformado=0\r\n",
     "\xEF\xBB\xBF[Transformadores]\r\nTransformado=1\r\n"},
    {"odd bytes elsewhere kept", "[Otra]\r\nNombre=Jos\xE9\r\nRaro=a\rb\r\n",
     "[Otra]\r\nNombre=Jos\xE9\r\nRaro=a\rb\r\n[Transformadores]\r\nTransformado=1\r\n",
     "[Otra]\r\nNombre=Jos\xE9\r\nRaro=a\r\nb\r\n[Transformadores]\r\nTransformado=1\r\n", kWineLoneCr},
};

}  // namespace velquior::shell
