#include "help/html_help_viewer.h"

#include <algorithm>
#include <cctype>

namespace velquior::help {
namespace {

THtmlHelpViewer* g_viewer = nullptr;

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Blanks and control characters, as the keyword clean-up trims them.
bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

bool IsChmFile(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot != std::string_view::npos && EqualsIgnoringAsciiCase(name.substr(dot), ".chm");
}

bool HasDirectoryPart(std::string_view name) {
#ifdef _WIN32
  if (name.find(':') != std::string_view::npos) return true;
#endif
  return std::any_of(name.begin(), name.end(), IsSeparator);
}

std::string ResolveHelpFile(const std::string& request_file, const std::string& application_file,
                            const std::string& exe_dir) {
  std::string file = request_file.empty() ? application_file : request_file;
  if (!file.empty() && !HasDirectoryPart(file)) file = exe_dir + file;
  return file;
}

std::string CleanKeyword(std::string_view help_string) {
  if (const std::size_t colon = help_string.find(':'); colon != std::string_view::npos) {
    help_string.remove_prefix(colon + 1);
  }
  while (!help_string.empty() && IsTrimmed(help_string.front())) help_string.remove_prefix(1);
  while (!help_string.empty() && IsTrimmed(help_string.back())) help_string.remove_suffix(1);
  return std::string(help_string);
}

std::string TopicExtension(std::string_view topic) {
  const std::size_t dot = topic.rfind('.');
  if (dot == std::string_view::npos) return {};
  if (std::any_of(topic.begin() + static_cast<std::ptrdiff_t>(dot), topic.end(), IsSeparator)) return {};
  return std::string(topic.substr(dot));
}

std::string TopicName(std::string_view help_file, std::string_view topic, std::string_view default_extension) {
  std::string ext = TopicExtension(topic);
  std::transform(ext.begin(), ext.end(), ext.begin(), LowerAscii);
  std::string page(topic);
  if (ext != ".htm" && ext != ".html") page += default_extension;
  return std::string(help_file) + "::/" + page;
}

int SelectKeywordPosition(const StringList& keywords, std::string_view viewer_name) {
  for (std::size_t i = 0; i < keywords.size(); ++i) {
    const std::string& entry = keywords[i];
    const std::size_t colon = entry.find(':');
    // An entry without a colon has nothing before it.
    const std::string_view before =
        colon == std::string::npos ? std::string_view() : std::string_view(entry).substr(0, colon);
    if (before == viewer_name) return static_cast<int>(i);
  }
  return 0;
}

int ContentsPosition(const StringList& viewer_names, std::string_view viewer_name) {
  for (std::size_t i = 0; i < viewer_names.size(); ++i) {
    if (EqualsIgnoringAsciiCase(viewer_names[i], viewer_name)) return static_cast<int>(i);
  }
  return -1;
}

THtmlHelpViewer::THtmlHelpViewer(const EngineLoader& load_engine, DirectoryFunction exe_dir)
    : exe_dir_(std::move(exe_dir)) {
  g_viewer = this;
  // A missing engine is not reported: display requests then do nothing.
  if (load_engine) {
    try {
      engine_ = load_engine();
    } catch (...) {
      engine_.reset();
    }
  }
}

THtmlHelpViewer::~THtmlHelpViewer() {
  if (g_viewer == this) g_viewer = nullptr;
  engine_.reset();
}

THtmlHelpViewer* THtmlHelpViewer::Instance() { return g_viewer; }

void THtmlHelpViewer::Unregister() {
  if (manager_ == nullptr) return;
  manager_->Release(viewer_id_);
  manager_ = nullptr;
}

std::string THtmlHelpViewer::HelpFile() const {
  if (manager_ == nullptr) return {};
  return ResolveHelpFile(manager_->GetHelpFile(), manager_->ApplicationHelpFile(),
                         exe_dir_ ? exe_dir_() : std::string());
}

int THtmlHelpViewer::UnderstandsKeyword(const std::string&) { return IsChmFile(HelpFile()) ? 1 : 0; }

StringList THtmlHelpViewer::GetHelpStrings(const std::string& keyword) { return {name_ + ": " + keyword}; }

void THtmlHelpViewer::ShowTableOfContents() {
  const std::string file = HelpFile();
  if (IsChmFile(file)) Call(kHhDisplayToc, file, {});
}

void THtmlHelpViewer::ShowHelp(const std::string& help_string) {
  const std::string file = HelpFile();
  if (IsChmFile(file)) Call(kHhDisplayIndex, file, {0, CleanKeyword(help_string)});
}

void THtmlHelpViewer::SoftShutDown() { Call(kHhCloseAll, {}, {}); }

void THtmlHelpViewer::ShutDown() {
  SoftShutDown();
  manager_ = nullptr;
}

bool THtmlHelpViewer::UnderstandsTopic(const std::string&) { return IsChmFile(HelpFile()); }

void THtmlHelpViewer::DisplayTopic(const std::string& topic) {
  const std::string file = HelpFile();
  if (IsChmFile(file)) Call(kHhDisplayTopic, TopicName(file, topic, default_extension_), {});
}

bool THtmlHelpViewer::UnderstandsContext(int, const std::string& help_file) { return IsChmFile(help_file); }

void THtmlHelpViewer::DisplayHelpByContext(int context, const std::string&) {
  const std::string file = HelpFile();
  if (IsChmFile(file)) Call(kHhHelpContext, file, {static_cast<std::uintptr_t>(static_cast<unsigned>(context)), {}});
}

int THtmlHelpViewer::SelectKeyword(const StringList& keywords) { return SelectKeywordPosition(keywords, name_); }

int THtmlHelpViewer::TableOfContents(const StringList& viewer_names) { return ContentsPosition(viewer_names, name_); }

void THtmlHelpViewer::Call(unsigned command, const std::string& name, const HtmlHelpData& data) {
  if (!engine_) return;
  switch (command) {
    case kHhCloseAll:
      engine_->HtmlHelp(nullptr, {}, command, data);
      return;
    case kHhGetLastError:
      return;
    default:
      engine_->HtmlHelp(manager_ != nullptr ? manager_->GetHandle() : nullptr, name, command, data);
  }
}

}  // namespace velquior::help
