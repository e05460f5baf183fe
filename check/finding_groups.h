#pragma once
// Findings of one kind gathered by key: each problem once, however many
// records show it, in the order first met.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "check/finding.h"

namespace velquior::check {

class FindingGroups {
 public:
  FindingGroups(std::string_view kind, Severity severity, Side side) : kind_(kind), severity_(severity), side_(side) {}

  // The finding for `key`; `summary()` gives its text when the key is new.
  template <typename Summary>
  Finding& For(const std::string& key, Summary&& summary) {
    auto [it, fresh] = by_key_.try_emplace(key, findings_.size());
    if (fresh) findings_.push_back({kind_, severity_, side_, summary(), {}});
    return findings_[it->second];
  }

  // Appends every finding gathered, in order, and forgets them.
  void MoveInto(std::vector<Finding>& out);

 private:
  std::string_view kind_;
  Severity severity_;
  Side side_;
  std::unordered_map<std::string, std::size_t> by_key_;
  std::vector<Finding> findings_;
};

}  // namespace velquior::check
