#pragma once
// The one error type of the program. Everything that ends a conversion is an
// Error carrying the message the user reads; front ends show it as it stands
// (adding context at most) and catch it in one place.
//
// The message is UTF-8: it only ever travels to the user. Data texts put into
// a message (which are Windows-1252 inside the core) go through ToUtf8 first.

#include <stdexcept>
#include <string>
#include <string_view>

namespace velquior {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& utf8_message) : std::runtime_error(utf8_message) {}
  std::string_view message() const noexcept { return what(); }
};

// The error box's rule: a full stop is appended when the message's last
// character comes after "." in the character order (a letter, a digit...).
std::string WithFullStop(std::string_view message);

}  // namespace velquior
