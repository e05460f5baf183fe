#include "help/help_manager.h"
#include "help/ascii_case.h"

#include <algorithm>
#include <utility>

namespace velquior::help {
namespace {

// The request's file stays readable by the viewers while they serve it.
class RequestScope {
 public:
  RequestScope(std::string& slot, const std::string& file) : slot_(slot), saved_(std::exchange(slot, file)) {}
  ~RequestScope() { slot_ = std::move(saved_); }
  RequestScope(const RequestScope&) = delete;
  RequestScope& operator=(const RequestScope&) = delete;

 private:
  std::string& slot_;
  std::string saved_;
};

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return LowerAsciiChar(x) < LowerAsciiChar(y); });
}

}  // namespace

HelpManagerInterface* HelpManager::RegisterViewer(std::shared_ptr<CustomHelpViewer> viewer) {
  if (!viewer) return this;
  const int id = next_id_++;
  viewers_.push_back({id, viewer});
  viewer->NotifyID(id);
  return this;
}

void HelpManager::Release(int viewer_id) {
  std::erase_if(viewers_, [viewer_id](const Entry& e) { return e.id == viewer_id; });
}

std::string HelpManager::ApplicationHelpFile() const { return window_file_.empty() ? application_file_ : window_file_; }

bool HelpManager::ShowContextHelp(int context, const std::string& help_file) {
  RequestScope scope(request_file_, help_file);
  for (const Entry& e : Snapshot()) {
    auto* extended = dynamic_cast<ExtendedHelpViewer*>(e.viewer.get());
    if (extended != nullptr && extended->UnderstandsContext(context, help_file)) {
      extended->DisplayHelpByContext(context, help_file);
      return true;
    }
  }
  return false;
}

bool HelpManager::ShowTableOfContents(const std::string& help_file) {
  RequestScope scope(request_file_, help_file);
  std::vector<std::pair<std::string, std::shared_ptr<CustomHelpViewer>>> able;
  for (const Entry& e : Snapshot()) {
    if (e.viewer->CanShowTableOfContents()) able.emplace_back(e.viewer->GetViewerName(), e.viewer);
  }
  if (able.empty()) return false;
  std::size_t chosen = 0;
  if (able.size() > 1) {
    std::stable_sort(able.begin(), able.end(),
                     [](const auto& a, const auto& b) { return LessIgnoringCase(a.first, b.first); });
    if (selector_) {
      StringList names;
      for (const auto& a : able) names.push_back(a.first);
      const int pick = selector_->TableOfContents(names);
      if (pick < 0 || static_cast<std::size_t>(pick) >= able.size()) return false;
      chosen = static_cast<std::size_t>(pick);
    }
  }
  able[chosen].second->ShowTableOfContents();
  return true;
}

bool HelpManager::ShowHelp(const std::string& keyword, const std::string& help_file) {
  RequestScope scope(request_file_, help_file);
  std::vector<std::pair<std::string, std::shared_ptr<CustomHelpViewer>>> offers;
  for (const Entry& e : Snapshot()) {
    if (e.viewer->UnderstandsKeyword(keyword) <= 0) continue;
    for (std::string& s : e.viewer->GetHelpStrings(keyword)) offers.emplace_back(std::move(s), e.viewer);
  }
  if (offers.empty()) return false;
  std::size_t chosen = 0;
  if (offers.size() > 1 && selector_) {
    StringList strings;
    for (const auto& o : offers) strings.push_back(o.first);
    const int pick = selector_->SelectKeyword(strings);
    if (pick < 0 || static_cast<std::size_t>(pick) >= offers.size()) return false;
    chosen = static_cast<std::size_t>(pick);
  }
  offers[chosen].second->ShowHelp(offers[chosen].first);
  return true;
}

bool HelpManager::ShowTopicHelp(const std::string& topic, const std::string& help_file) {
  RequestScope scope(request_file_, help_file);
  for (const Entry& e : Snapshot()) {
    auto* extended = dynamic_cast<ExtendedHelpViewer*>(e.viewer.get());
    if (extended != nullptr && extended->UnderstandsTopic(topic)) {
      extended->DisplayTopic(topic);
      return true;
    }
  }
  return false;
}

bool HelpManager::HelpCommand(unsigned command, int data) {
  const std::string file = ApplicationHelpFile();
  switch (command) {
    case kHelpContext:
      return ShowContextHelp(data, file);
    case kHelpContents:
      return ShowTableOfContents(file);
    default:
      return false;
  }
}

void HelpManager::ShutDownViewers() {
  for (const Entry& e : Snapshot()) e.viewer->ShutDown();
}

}  // namespace velquior::help
