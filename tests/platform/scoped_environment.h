#pragma once
// Sets or clears environment variables for one test and puts the old values
// back.

#include <cstdlib>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "tests/test_util.h"

namespace velquior::testing {

class ScopedEnvironment {
 public:
  using Value = std::pair<std::string, std::optional<std::string>>;
  explicit ScopedEnvironment(std::initializer_list<Value> values) {
    for (const auto& [name, value] : values) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
      Set(name, value);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) Set(name, value);
  }

 private:
  static void Set(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
      SetEnv(name, *value);
    } else {
      UnsetEnv(name);
    }
  }
  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace velquior::testing
