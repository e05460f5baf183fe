#include "help/winhelp_viewer.h"

namespace velquior::help {

int WinHelpViewer::UnderstandsKeyword(const std::string& keyword) {
  if (!tester_) return 1;
  return tester_->CanShowALink(keyword, {}) ? 1 : 0;
}

StringList WinHelpViewer::GetHelpStrings(const std::string& keyword) {
  if (tester_) return tester_->GetHelpStrings(keyword);
  return {GetViewerName() + ": " + keyword};
}

bool WinHelpViewer::UnderstandsTopic(const std::string& topic) { return !tester_ || tester_->CanShowTopic(topic, {}); }

bool WinHelpViewer::UnderstandsContext(int context, const std::string& help_file) {
  return !tester_ || tester_->CanShowContext(context, help_file);
}

}  // namespace velquior::help
