#pragma once
// A window that records what the shell asked of it, and hears the
// conversions' reports in the same record.

#include <functional>
#include <string>
#include <vector>

#include "conversion/reporter.h"
#include "shell/window.h"

namespace velquior::testing {

class FakeWindow : public shell::Window, public Reporter {
 public:
  std::optional<std::filesystem::path> choice;  // what the dialog returns
  std::vector<std::string> calls;               // in order
  std::vector<std::string> missing_items;
  std::function<void()> on_missing_item;  // may throw to fail a builder
  bool busy = false;
  Answer answer = Answer::kCancel;  // what Ask returns
  std::string question;             // the last one asked

  std::optional<std::filesystem::path> ChooseXmlFile(const std::filesystem::path& last) override {
    calls.push_back("choose:" + last.string());
    return choice;
  }
  void ShowMessage(std::string_view text) override { calls.push_back("message:" + std::string(text)); }
  void ShowError(std::string_view text) override { calls.push_back("error:" + std::string(text)); }
  Answer Ask(std::string_view q, std::string_view first, std::string_view second, std::string_view cancel) override {
    question = std::string(q);
    calls.push_back("ask:" + std::string(first) + "|" + std::string(second) + "|" + std::string(cancel));
    return answer;
  }
  void SetBusyCursor(bool b) override {
    busy = b;
    calls.push_back(b ? "busy" : "normal");
  }
  void DisableConversionButtons() override { calls.push_back("disable"); }
  void Close() override { calls.push_back("close"); }
  void EmbedInHost(std::uint32_t handle) override { calls.push_back("embed:" + std::to_string(handle)); }

  void ReportMissingItem(const MissingItem& item) override {
    missing_items.push_back(std::string(item.element) + " " + std::to_string(item.position) + ": " + item.what);
    if (on_missing_item) on_missing_item();
  }
  void ReportTablesWritten(std::span<const std::string> names) override {
    calls.push_back("written:" + std::to_string(names.size()));
  }
};

}  // namespace velquior::testing
