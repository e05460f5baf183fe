#include "import/activity_index.h"

#include "common/error.h"
#include "common/format.h"
#include "common/messages.h"
#include "text/compare.h"

namespace velquior {

void IndiceActividades::Add(std::string id, std::string subject_key) {
  first_by_folded_key_.try_emplace(text::FoldKey(subject_key), static_cast<long>(ids_.size()));
  ids_.push_back(std::move(id));
  keys_.push_back(std::move(subject_key));
}

long IndiceActividades::Position(std::string_view key) const {
  auto it = first_by_folded_key_.find(text::FoldKey(key));
  return it == first_by_folded_key_.end() ? -1 : it->second;
}

const std::string& IndiceActividades::IdAt(long position) const {
  if (position < 0 || position >= static_cast<long>(ids_.size())) {
    throw Error(Format(msg::kListIndexOutOfBounds, {std::to_string(position)}));
  }
  return ids_[static_cast<std::size_t>(position)];
}

}  // namespace velquior
