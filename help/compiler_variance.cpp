#include "help/compiler_variance.h"
#include "common/bytes.h"

#include <stdexcept>

namespace velquior::help {
namespace {

constexpr std::uint16_t kSystemTimestamp = 10;
constexpr std::size_t kMapRecord = 8;

}  // namespace

std::string ClearSystemTimestamp(std::string_view system) {
  std::string out(system);
  std::size_t at = 4;  // after the version
  while (at < out.size()) {
    if (out.size() - at < 4) throw std::runtime_error("#SYSTEM ends inside a record header");
    const std::size_t code = Le16(out, at);
    const std::size_t length = Le16(out, at + 2);
    at += 4;
    if (length > out.size() - at) throw std::runtime_error("#SYSTEM record longer than the file");
    if (code == kSystemTimestamp) out.replace(at, length, std::string(length, '\0'));
    at += length;
  }
  return out;
}

std::string SetKeywordMapCount(std::string_view map) {
  if (map.size() < 2 || (map.size() - 2) % kMapRecord != 0 || (map.size() - 2) / kMapRecord > 0xFFFF) {
    throw std::runtime_error("keyword map of unexpected size " + std::to_string(map.size()));
  }
  const std::size_t records = (map.size() - 2) / kMapRecord;
  std::string out(map);
  SetLe(out, 0, records, 2);
  return out;
}

std::string WithoutCompilerVariance(std::string_view name, std::string_view bytes) {
  if (name == "/#SYSTEM") return ClearSystemTimestamp(bytes);
  if (name == "/$WWKeywordLinks/Map" || name == "/$WWAssociativeLinks/Map") return SetKeywordMapCount(bytes);
  return std::string(bytes);
}

}  // namespace velquior::help
