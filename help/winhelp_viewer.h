#pragma once
// The viewer for the older WinHelp format that the help framework brings.
// There is no WinHelp engine on this platform, so it never shows anything;
// but without a tester it claims every keyword and context request, which
// would swallow them. TWinHelpTester makes it decline.

#include <memory>
#include <string>
#include <string_view>

#include "help/help_manager.h"

namespace velquior::help {

inline constexpr std::string_view kWinHelpViewerName = "WinHelp";

// The WinHelp viewer's hook: asked before it takes a request.
class WinHelpTester {
 public:
  virtual ~WinHelpTester() = default;
  virtual bool CanShowALink(const std::string& alink, const std::string& help_file) = 0;
  virtual bool CanShowTopic(const std::string& topic, const std::string& help_file) = 0;
  virtual bool CanShowContext(int context, const std::string& help_file) = 0;
  virtual StringList GetHelpStrings(const std::string& alink) = 0;
  virtual std::string GetHelpPath() = 0;
  virtual std::string GetDefaultHelpFile() = 0;
};

// Declines everything, so that every request falls to the HTML help viewer.
class TWinHelpTester : public WinHelpTester {
 public:
  bool CanShowALink(const std::string&, const std::string&) override { return false; }
  bool CanShowTopic(const std::string&, const std::string&) override { return false; }
  bool CanShowContext(int, const std::string&) override { return false; }
  StringList GetHelpStrings(const std::string& alink) override { return {": " + alink}; }
  std::string GetHelpPath() override { return {}; }
  std::string GetDefaultHelpFile() override { return {}; }
};

class WinHelpViewer : public ExtendedHelpViewer {
 public:
  void SetTester(std::shared_ptr<WinHelpTester> tester) { tester_ = std::move(tester); }
  const WinHelpTester* Tester() const { return tester_.get(); }
  int Shown() const { return shown_; }  // requests it took and could not show

  std::string GetViewerName() override { return std::string(kWinHelpViewerName); }
  int UnderstandsKeyword(const std::string& keyword) override;
  StringList GetHelpStrings(const std::string& keyword) override;
  bool CanShowTableOfContents() override { return true; }
  void ShowTableOfContents() override { ++shown_; }
  void ShowHelp(const std::string&) override { ++shown_; }
  void NotifyID(int viewer_id) override { viewer_id_ = viewer_id; }
  void SoftShutDown() override {}
  void ShutDown() override {}

  bool UnderstandsTopic(const std::string& topic) override;
  void DisplayTopic(const std::string&) override { ++shown_; }
  bool UnderstandsContext(int context, const std::string& help_file) override;
  void DisplayHelpByContext(int, const std::string&) override { ++shown_; }

 private:
  std::shared_ptr<WinHelpTester> tester_;
  int viewer_id_ = -1;
  int shown_ = 0;
};

}  // namespace velquior::help
