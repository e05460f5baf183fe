#include "check/finding_groups.h"

#include <iterator>

namespace velquior::check {

void FindingGroups::MoveInto(std::vector<Finding>& out) {
  out.insert(out.end(), std::make_move_iterator(findings_.begin()), std::make_move_iterator(findings_.end()));
  findings_.clear();
  by_key_.clear();
}

}  // namespace velquior::check
