#include "common/error.h"

namespace velquior {

std::string WithFullStop(std::string_view message) {
  std::string out(message);
  if (!out.empty() && static_cast<unsigned char>(out.back()) > static_cast<unsigned char>('.')) {
    out += '.';
  }
  return out;
}

}  // namespace velquior
