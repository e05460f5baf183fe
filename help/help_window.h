#pragma once
// The HTML Help engine of this program: a help window per .chm, opened
// through chmlib, with a contents tree (.hhc), an index list (.hhk) and the
// pages in a browser whose links, images and style sheets come from inside
// the file. A file that does not open, or has no page to show, opens no
// window.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QPointer>
#include <QTextBrowser>
#include <QWidget>

#include "help/chm_file.h"
#include "help/html_help_viewer.h"

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace velquior::help {

// Pages are addressed as chm:/path-inside-the-file.
class ChmBrowser : public QTextBrowser {
 public:
  ChmBrowser(const ChmFile& chm, QWidget* parent);
  QVariant loadResource(int type, const QUrl& name) override;
  static QUrl PageUrl(const std::string& object_path);  // keeps a "#fragment"
  std::string CurrentPage() const;                      // "/index.htm", or ""

 protected:
  void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

 private:
  const ChmFile& chm_;
};

class HelpWindow : public QWidget {
 public:
  HelpWindow(std::unique_ptr<ChmFile> chm, std::string file);
  ~HelpWindow() override;

  const std::string& File() const { return file_; }
  bool HasSomethingToShow() const;
  bool HasIndex() const;  // the Index tab is there

  // A page as the file's tables name it; the default topic when absent.
  void ShowPage(const std::string& stored_name);
  void ShowContents();
  void ShowIndex(const std::string& keyword);
  void ShowContext(std::uint32_t context);

  std::string CurrentPage() const { return browser_->CurrentPage(); }
  QTabWidget* Tabs() const { return tabs_; }
  QTreeWidget* ContentsTree() const { return tree_; }
  QListWidget* IndexList() const { return index_list_; }
  ChmBrowser* Browser() const { return browser_; }

 private:
  void BuildContents();
  void BuildIndex();
  void ShowPageIfNone();
  void Present();

  std::unique_ptr<ChmFile> chm_;
  std::string file_;
  std::vector<SitemapEntry> index_entries_;
  QTabWidget* tabs_ = nullptr;
  QTreeWidget* tree_ = nullptr;
  QWidget* index_page_ = nullptr;
  QLineEdit* keyword_ = nullptr;
  QListWidget* index_list_ = nullptr;
  ChmBrowser* browser_ = nullptr;
};

class ChmHelpEngine : public HtmlHelpEngine {
 public:
  ChmHelpEngine() = default;
  ~ChmHelpEngine() override;
  ChmHelpEngine(const ChmHelpEngine&) = delete;
  ChmHelpEngine& operator=(const ChmHelpEngine&) = delete;

  void HtmlHelp(HelpOwner owner, const std::string& name, unsigned command, const HtmlHelpData& data) override;
  std::vector<HelpWindow*> Windows() const;  // the open ones

 private:
  HelpWindow* WindowFor(const std::string& file);
  void CloseAll();

  std::vector<QPointer<HelpWindow>> windows_;
};

// Loads ChmHelpEngine; windows are made only when a request needs one.
EngineLoader ChmEngineLoader();

}  // namespace velquior::help
