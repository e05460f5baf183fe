#pragma once
// The help manager: viewers register with it, and it passes each help
// request on to them. A context request goes to the first viewer, in
// registration order, that understands it; a contents request lets the
// selector choose among the viewers that can show contents, by name
// (sorted, letter case ignored).

#include <memory>
#include <string>
#include <vector>

namespace velquior::help {

using StringList = std::vector<std::string>;
using HelpOwner = void*;  // the window that help windows belong to, or none

// What a viewer may ask of the manager it registered with.
class HelpManagerInterface {
 public:
  virtual ~HelpManagerInterface() = default;
  virtual std::string GetHelpFile() const = 0;          // the file of the request being served
  virtual std::string ApplicationHelpFile() const = 0;  // the active window's, else the application's
  virtual HelpOwner GetHandle() const = 0;
  virtual void Release(int viewer_id) = 0;
};

class CustomHelpViewer {
 public:
  virtual ~CustomHelpViewer() = default;
  virtual std::string GetViewerName() = 0;
  virtual int UnderstandsKeyword(const std::string& keyword) = 0;
  virtual StringList GetHelpStrings(const std::string& keyword) = 0;
  virtual bool CanShowTableOfContents() = 0;
  virtual void ShowTableOfContents() = 0;
  virtual void ShowHelp(const std::string& help_string) = 0;
  virtual void NotifyID(int viewer_id) = 0;
  virtual void SoftShutDown() = 0;
  virtual void ShutDown() = 0;
};

class ExtendedHelpViewer : public CustomHelpViewer {
 public:
  virtual bool UnderstandsTopic(const std::string& topic) = 0;
  virtual void DisplayTopic(const std::string& topic) = 0;
  virtual bool UnderstandsContext(int context, const std::string& help_file) = 0;
  virtual void DisplayHelpByContext(int context, const std::string& help_file) = 0;
};

class HelpSelector {
 public:
  virtual ~HelpSelector() = default;
  // Positions in the list given; out of range chooses none.
  virtual int SelectKeyword(const StringList& keywords) = 0;
  virtual int TableOfContents(const StringList& viewer_names) = 0;
};

// WinHelp command numbers that reach the manager.
inline constexpr unsigned kHelpContext = 1;
inline constexpr unsigned kHelpContents = 3;

class HelpManager : public HelpManagerInterface {
 public:
  // Gives the viewer its ID through NotifyID; the manager returned stays
  // valid until the manager is destroyed.
  HelpManagerInterface* RegisterViewer(std::shared_ptr<CustomHelpViewer> viewer);
  void Release(int viewer_id) override;
  void AssignHelpSelector(std::shared_ptr<HelpSelector> selector) { selector_ = std::move(selector); }

  void SetApplicationHelpFile(std::string file) { application_file_ = std::move(file); }
  void SetActiveWindowHelpFile(std::string file) { window_file_ = std::move(file); }
  void SetOwner(HelpOwner owner) { owner_ = owner; }

  std::string GetHelpFile() const override { return request_file_; }
  std::string ApplicationHelpFile() const override;
  HelpOwner GetHandle() const override { return owner_; }

  // Each answers whether some viewer took the request.
  bool ShowContextHelp(int context, const std::string& help_file);
  bool ShowTableOfContents(const std::string& help_file);
  bool ShowHelp(const std::string& keyword, const std::string& help_file);
  bool ShowTopicHelp(const std::string& topic, const std::string& help_file);
  // A WinHelp-style command on the application's current help file.
  bool HelpCommand(unsigned command, int data);
  // Process end: every viewer shuts down.
  void ShutDownViewers();

  int ViewerCount() const { return static_cast<int>(viewers_.size()); }

 private:
  struct Entry {
    int id;
    std::shared_ptr<CustomHelpViewer> viewer;
  };
  // Viewers are copied out first: a viewer may unregister while serving.
  std::vector<Entry> Snapshot() const { return viewers_; }

  std::vector<Entry> viewers_;  // in registration order
  std::shared_ptr<HelpSelector> selector_;
  std::string application_file_;
  std::string window_file_;
  std::string request_file_;
  HelpOwner owner_ = nullptr;
  int next_id_ = 0;
};

}  // namespace velquior::help
