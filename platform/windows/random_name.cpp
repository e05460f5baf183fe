#define _CRT_RAND_S  // rand_s: the system's generator, no seed to share
#include "platform/windows/random_name.h"

#include <stdlib.h>

namespace velquior::platform {

std::wstring RandomNameSuffix() {
  static constexpr wchar_t kChars[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  constexpr unsigned kCount = sizeof kChars / sizeof kChars[0] - 1;
  thread_local unsigned fallback = 0x9E3779B9u;  // rand_s never fails in practice; names must still vary
  std::wstring out;
  for (int i = 0; i < 6; ++i) {
    unsigned r = 0;
    if (rand_s(&r) != 0) r = (fallback = fallback * 1664525u + 1013904223u) >> 8;
    out += kChars[r % kCount];
  }
  return out;
}

}  // namespace velquior::platform
