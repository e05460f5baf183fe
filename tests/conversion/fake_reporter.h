#pragma once
// A reporter that records what the conversion reported.

#include <functional>
#include <string>
#include <vector>

#include "conversion/reporter.h"

namespace velquior::testing {

class FakeReporter : public Reporter {
 public:
  std::vector<std::string> calls;  // "begin", "end", "written:N", in order
  std::vector<std::string> missing_items;
  // "PROFT teacher 2 [t1] 'JPL'", or "PROFT: reason" for a whole table
  std::vector<std::string> not_kept;
  std::function<void()> on_missing_item;  // may throw to fail a builder
  bool working = false;

  void BeginWork() override {
    working = true;
    calls.push_back("begin");
  }
  void EndWork() override {
    working = false;
    calls.push_back("end");
  }
  void ReportMissingItem(const MissingItem& item) override {
    missing_items.push_back(std::string(item.element) + " " + std::to_string(item.position) + ": " + item.what);
    if (on_missing_item) on_missing_item();
  }
  void ReportCodeNotKept(const CodeNotKept& n) override {
    not_kept.push_back(n.element.empty() ? std::string(n.table) + ": " + n.why
                                         : std::string(n.table) + " " + std::string(n.element) + " " +
                                               std::to_string(n.position) + " [" + n.id + "] '" + n.code + "'");
  }
  void ReportTablesWritten(std::span<const std::string> names) override {
    calls.push_back("written:" + std::to_string(names.size()));
  }
};

}  // namespace velquior::testing
