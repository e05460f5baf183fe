#pragma once
// Writes a compiled help container (ITSF version 3) from its objects: the
// headers, the directory (listing chunks, index chunks when one listing
// chunk is not enough) and the two sections, the second as an LZX stream of
// uncompressed blocks. The output depends only on the input: no clock, no
// random bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace velquior::help {

struct ItsfObject {
  std::string name;  // as stored: "/index.htm", "::DataSpace/NameList", "/" for a folder
  int section = 0;   // 0: stored as is; 1: inside the LZX stream
  std::string bytes;
  std::uint64_t offset = 0;  // section 1 only: where it lies in the uncompressed stream
};

struct ItsfContents {
  std::uint32_t lcid = 0;
  // Section 0 objects are laid out in this order. Must include
  // ::DataSpace/Storage/MSCompressed/ControlData, whose reset interval the
  // LZX stream follows; the Content and ResetTable of that section are made
  // here and must not be given.
  std::vector<ItsfObject> objects;
};

// Throws std::runtime_error, naming the fault, when the objects cannot make a
// consistent file (names repeated, overlapping section 1 objects, control
// data missing or of a form readers disagree on).
std::string WriteItsf(const ItsfContents& contents);

inline constexpr const char* kLzxContent = "::DataSpace/Storage/MSCompressed/Content";
inline constexpr const char* kLzxControlData = "::DataSpace/Storage/MSCompressed/ControlData";
inline constexpr const char* kLzxSpanInfo = "::DataSpace/Storage/MSCompressed/SpanInfo";
inline constexpr const char* kLzxResetTable =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";

}  // namespace velquior::help
