#include "export/used_codes.h"

#include "text/compare.h"
#include "text/text_helpers.h"

namespace velquior {

std::string UsedCodes::Key(std::string_view code) const {
  std::string stored = text::TrimTrailing(code);
  return rule_ == Case::kInsensitive ? text::FoldKey(stored) : stored;
}

const std::string* UsedCodes::Find(std::string_view code) const {
  auto it = first_.find(Key(code));
  return it == first_.end() ? nullptr : &codes_[it->second];
}

void UsedCodes::Add(std::string code) {
  first_.try_emplace(Key(code), codes_.size());
  codes_.push_back(std::move(code));
}

}  // namespace velquior
