#pragma once
// The codes a builder has given so far, in the order given. A look-up gives
// the first listed code equal to the candidate under the list's letter-case
// rule, as a scan from the first entry would, through a hash in constant time.
//
// Codes compare as the table gives them back: trailing blanks do not count
// ("AB " and "AB" are one stored code), every other character does.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velquior {

class UsedCodes {
 public:
  enum class Case { kSensitive, kInsensitive };

  explicit UsedCodes(Case rule) : rule_(rule) {}

  // The first listed code equal to `code`, or nullptr.
  const std::string* Find(std::string_view code) const;
  bool Contains(std::string_view code) const { return Find(code) != nullptr; }

  // Lists `code` last; an equal code listed before keeps answering look-ups.
  void Add(std::string code);

  // The text that equal codes share: how the list hashes a code.
  std::string Key(std::string_view code) const;

  Case rule() const { return rule_; }
  std::size_t size() const { return codes_.size(); }
  const std::vector<std::string>& codes() const { return codes_; }

 private:
  Case rule_;
  std::vector<std::string> codes_;
  std::unordered_map<std::string, std::size_t> first_;  // key -> index in codes_
};

}  // namespace velquior
