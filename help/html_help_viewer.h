#pragma once
// THtmlHelpViewer shows ".chm" help through an HTML Help engine; the pure
// rules it applies (CHM test, help-file resolution, keyword clean-up, topic
// names) are free functions so that they can be checked on their own.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "help/help_manager.h"

namespace velquior::help {

// HTML Help commands, numbered as the engine knows them.
enum HtmlHelpCommand : unsigned {
  kHhDisplayTopic = 0,
  kHhDisplayToc = 1,
  kHhDisplayIndex = 2,
  kHhHelpContext = 15,
  kHhCloseAll = 18,
  kHhGetLastError = 20,
};

// The data of a command: a number (context, or 0) or a keyword.
struct HtmlHelpData {
  std::uintptr_t number = 0;
  std::string text;
};

class HtmlHelpEngine {
 public:
  virtual ~HtmlHelpEngine() = default;
  // `name` is a help file, optionally followed by "::/" and a page.
  virtual void HtmlHelp(HelpOwner owner, const std::string& name, unsigned command, const HtmlHelpData& data) = 0;
};

// Loads the engine; none (or an exception) when it is not available.
using EngineLoader = std::function<std::shared_ptr<HtmlHelpEngine>()>;
// The program's own directory, ending in a separator.
using DirectoryFunction = std::function<std::string()>;

bool IsChmFile(std::string_view name);
bool HasDirectoryPart(std::string_view name);
// The request's file, else the application's; a bare name lies in `exe_dir`.
std::string ResolveHelpFile(const std::string& request_file, const std::string& application_file,
                            const std::string& exe_dir);
// "Helvora: Exportar" -> "Exportar".
std::string CleanKeyword(std::string_view help_string);
// The extension after the last "." of the last path component, "" if none.
std::string TopicExtension(std::string_view topic);
std::string TopicName(std::string_view help_file, std::string_view topic, std::string_view default_extension);
int SelectKeywordPosition(const StringList& keywords, std::string_view viewer_name);
int ContentsPosition(const StringList& viewer_names, std::string_view viewer_name);

inline constexpr std::string_view kViewerName = "Helvora";
inline constexpr std::string_view kDefaultTopicExtension = ".htm";

class THtmlHelpViewer : public ExtendedHelpViewer, public HelpSelector {
 public:
  THtmlHelpViewer(const EngineLoader& load_engine, DirectoryFunction exe_dir);
  ~THtmlHelpViewer() override;  // clears the process-wide reference, unloads the engine
  THtmlHelpViewer(const THtmlHelpViewer&) = delete;
  THtmlHelpViewer& operator=(const THtmlHelpViewer&) = delete;

  // The one viewer of the process, or none.
  static THtmlHelpViewer* Instance();

  void Registered(HelpManagerInterface* manager) { manager_ = manager; }
  // Process end: gives the ID back to the manager and forgets the manager.
  void Unregister();

  int ViewerID() const { return viewer_id_; }
  bool HasEngine() const { return engine_ != nullptr; }
  bool HasManager() const { return manager_ != nullptr; }
  const std::string& DefaultTopicExtension() const { return default_extension_; }
  std::string HelpFile() const;

  std::string GetViewerName() override { return name_; }
  int UnderstandsKeyword(const std::string& keyword) override;
  StringList GetHelpStrings(const std::string& keyword) override;
  bool CanShowTableOfContents() override { return true; }
  void ShowTableOfContents() override;
  void ShowHelp(const std::string& help_string) override;
  void NotifyID(int viewer_id) override { viewer_id_ = viewer_id; }
  void SoftShutDown() override;
  void ShutDown() override;

  bool UnderstandsTopic(const std::string& topic) override;
  void DisplayTopic(const std::string& topic) override;
  bool UnderstandsContext(int context, const std::string& help_file) override;
  void DisplayHelpByContext(int context, const std::string& help_file) override;

  int SelectKeyword(const StringList& keywords) override;
  int TableOfContents(const StringList& viewer_names) override;

 private:
  void Call(unsigned command, const std::string& name, const HtmlHelpData& data);

  int viewer_id_ = -1;
  std::string name_{kViewerName};
  std::shared_ptr<HtmlHelpEngine> engine_;
  HelpManagerInterface* manager_ = nullptr;  // not owned; dropped at shut-down
  std::string default_extension_{kDefaultTopicExtension};
  DirectoryFunction exe_dir_;
};

}  // namespace velquior::help
