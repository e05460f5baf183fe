#pragma once
// IndiceActividades: the activities written by one import, in order, with
// their subject keys, for the timetable entries to name their activity.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velquior {

class IndiceActividades {
 public:
  void Add(std::string id, std::string subject_key);

  // Position (from 0) of the first entry whose subject key equals `key`
  // ignoring letter case (text::EqualsNoCase); -1 when none does.
  long Position(std::string_view key) const;

  // The id at `position`; outside 0..size-1 raises
  // Error("List index out of bounds (<position>)").
  const std::string& IdAt(long position) const;

  std::size_t size() const { return ids_.size(); }

 private:
  std::vector<std::string> ids_;
  std::vector<std::string> keys_;
  std::unordered_map<std::string, long> first_by_folded_key_;
};

}  // namespace velquior
