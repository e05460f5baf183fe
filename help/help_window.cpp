#include "help/help_window.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/messages.h"
#include "help/help_service.h"

namespace velquior::help {
namespace {

QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// Texts of the file: UTF-8 when they are, else the Western code page the
// help compiler's tools assume.
QString FileText(const std::string& bytes) {
  const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(data);
  if (!utf8.hasError()) return text;
  return QString::fromLatin1(data);
}

QString HtmlText(const std::string& bytes) {
  const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
  if (decoder.isValid() && decoder.name() != QStringLiteral("UTF-8")) return decoder.decode(data);
  return FileText(bytes);
}

constexpr int kPageRole = Qt::UserRole;

void AddTreeItems(QTreeWidgetItem* parent, QTreeWidget* tree, const std::vector<SitemapEntry>& entries) {
  for (const SitemapEntry& e : entries) {
    auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    item->setText(0, FileText(e.name));
    item->setData(0, kPageRole, FileText(e.local));
    AddTreeItems(item, tree, e.children);
  }
}

}  // namespace

ChmBrowser::ChmBrowser(const ChmFile& chm, QWidget* parent) : QTextBrowser(parent), chm_(chm) {
  setOpenLinks(false);
  connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
    const QUrl target = source().resolved(link);
    if (target.scheme() == QLatin1String("chm")) {
      setSource(target);
    } else {
      QDesktopServices::openUrl(target);  // the web and mail links of a page
    }
  });
}

QUrl ChmBrowser::PageUrl(const std::string& object_path) {
  QUrl url;
  url.setScheme(QStringLiteral("chm"));
  const std::size_t hash = object_path.find('#');
  url.setPath(Q(object_path.substr(0, hash)));
  if (hash != std::string::npos) url.setFragment(Q(object_path.substr(hash + 1)));
  return url;
}

std::string ChmBrowser::CurrentPage() const {
  const QUrl url = source();
  if (url.scheme() != QLatin1String("chm")) return {};
  return url.path().toStdString();
}

void ChmBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
  QTextBrowser::doSetSource(source().resolved(name), type);
}

QVariant ChmBrowser::loadResource(int type, const QUrl& name) {
  const QUrl url = source().resolved(name);
  if (url.scheme() != QLatin1String("chm")) return {};
  const std::string path = url.path().toStdString();
  const std::string found = chm_.Contains(path) ? path : chm_.FindPage(path);
  if (found.empty()) return {};
  const auto bytes = chm_.Read(found);
  if (!bytes) return {};
  switch (type) {
    case QTextDocument::HtmlResource:
      return HtmlText(*bytes);
    case QTextDocument::StyleSheetResource:
      return FileText(*bytes);
    default:
      return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
  }
}

HelpWindow::HelpWindow(std::unique_ptr<ChmFile> chm, std::string file) : chm_(std::move(chm)), file_(std::move(file)) {
  setObjectName(QStringLiteral("HelpWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  const std::string& title = chm_->System().title;
  setWindowTitle(title.empty() ? Q(msg::kAyudaTitulo) : FileText(title));
  resize(820, 560);

  tabs_ = new QTabWidget;
  tree_ = new QTreeWidget;
  tree_->setObjectName(QStringLiteral("Contents"));
  tree_->setHeaderHidden(true);
  tabs_->addTab(tree_, Q(msg::kAyudaContenido));

  // The Index tab only where the file has an index, as HTML Help shows it.
  index_page_ = new QWidget;
  auto* index_layout = new QVBoxLayout(index_page_);
  index_layout->setContentsMargins(4, 4, 4, 4);
  index_layout->addWidget(new QLabel(Q(msg::kAyudaBuscarPalabra)));
  keyword_ = new QLineEdit;
  keyword_->setObjectName(QStringLiteral("Keyword"));
  index_layout->addWidget(keyword_);
  index_list_ = new QListWidget;
  index_list_->setObjectName(QStringLiteral("Index"));
  index_layout->addWidget(index_list_);

  browser_ = new ChmBrowser(*chm_, nullptr);
  browser_->setObjectName(QStringLiteral("Page"));
  auto* splitter = new QSplitter;
  splitter->addWidget(tabs_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 3);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter);

  BuildContents();
  BuildIndex();
  if (HasIndex()) tabs_->addTab(index_page_, Q(msg::kAyudaIndice));
  connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    if (const QString page = item->data(0, kPageRole).toString(); !page.isEmpty()) ShowPage(page.toStdString());
  });
  connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    if (const QString page = item->data(0, kPageRole).toString(); !page.isEmpty()) ShowPage(page.toStdString());
  });
  connect(index_list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    const int row = index_list_->row(item);
    if (row >= 0 && static_cast<std::size_t>(row) < index_entries_.size())
      ShowPage(index_entries_[static_cast<std::size_t>(row)].local);
  });
  connect(keyword_, &QLineEdit::returnPressed, this, [this] {
    if (QListWidgetItem* item = index_list_->currentItem()) emit index_list_->itemActivated(item);
  });
  connect(keyword_, &QLineEdit::textEdited, this, [this](const QString& text) {
    const int row = FindIndexEntry(index_entries_, text.toStdString());
    if (row >= 0) index_list_->setCurrentRow(row);
  });
}

HelpWindow::~HelpWindow() {
  delete browser_;  // it reads from chm_ until it goes
  browser_ = nullptr;
  if (!HasIndex()) delete index_page_;  // in no tab, so owned by none
}

bool HelpWindow::HasIndex() const { return !index_entries_.empty(); }

bool HelpWindow::HasSomethingToShow() const {
  const std::string topic = chm_->DefaultTopic();
  return (!topic.empty() && chm_->Read(topic).has_value()) || tree_->topLevelItemCount() > 0;
}

void HelpWindow::BuildContents() {
  AddTreeItems(nullptr, tree_, chm_->Contents());
  tree_->expandAll();
}

void HelpWindow::BuildIndex() {
  // The index is one flat list: sub-keywords follow their keyword.
  std::vector<SitemapEntry> pending = chm_->Index();
  std::vector<std::pair<const SitemapEntry*, int>> stack;
  for (auto it = pending.rbegin(); it != pending.rend(); ++it) stack.emplace_back(&*it, 0);
  while (!stack.empty()) {
    const auto [entry, depth] = stack.back();
    stack.pop_back();
    SitemapEntry flat{entry->name, entry->local, {}};
    index_entries_.push_back(flat);
    index_list_->addItem(QString(depth * 2, QLatin1Char(' ')) + FileText(entry->name));
    for (auto it = entry->children.rbegin(); it != entry->children.rend(); ++it) stack.emplace_back(&*it, depth + 1);
  }
}

void HelpWindow::ShowPage(const std::string& stored_name) {
  const std::size_t hash = stored_name.find('#');
  std::string page = chm_->FindPage(stored_name);
  if (page.empty()) {
    page = chm_->DefaultTopic();
  } else if (hash != std::string::npos) {
    page += stored_name.substr(hash);
  }
  if (!page.empty()) browser_->setSource(ChmBrowser::PageUrl(page), QTextDocument::HtmlResource);
  Present();
}

void HelpWindow::ShowPageIfNone() {
  if (CurrentPage().empty()) ShowPage(chm_->DefaultTopic());
}

void HelpWindow::ShowContents() {
  tabs_->setCurrentIndex(0);
  ShowPageIfNone();
  Present();
}

void HelpWindow::ShowIndex(const std::string& keyword) {
  if (!HasIndex()) {
    ShowContents();
    return;
  }
  tabs_->setCurrentWidget(index_page_);
  keyword_->setText(Q(keyword));
  const int row = FindIndexEntry(index_entries_, keyword);
  if (row >= 0) {
    index_list_->setCurrentRow(row);
    ShowPage(index_entries_[static_cast<std::size_t>(row)].local);
  } else {
    index_list_->setCurrentRow(-1);
    ShowPageIfNone();
  }
  Present();
}

void HelpWindow::ShowContext(std::uint32_t context) {
  const std::string page = chm_->TopicForContext(context);
  ShowPage(page.empty() ? chm_->DefaultTopic() : page);
}

void HelpWindow::Present() {
  show();
  raise();
  activateWindow();
}

ChmHelpEngine::~ChmHelpEngine() {
  // After the application object is gone its widgets may no longer be touched.
  if (QApplication::instance() == nullptr) return;
  for (const QPointer<HelpWindow>& w : windows_) delete w.data();
}

std::vector<HelpWindow*> ChmHelpEngine::Windows() const {
  std::vector<HelpWindow*> open;
  for (const QPointer<HelpWindow>& w : windows_) {
    if (w && w->isVisible()) open.push_back(w.data());
  }
  return open;
}

HelpWindow* ChmHelpEngine::WindowFor(const std::string& file) {
  // A window that is no longer visible has been closed and is on its way out.
  std::erase_if(windows_, [](const QPointer<HelpWindow>& w) { return w.isNull() || !w->isVisible(); });
  for (const QPointer<HelpWindow>& w : windows_) {
    if (w->File() == file) return w.data();
  }
  if (QApplication::instance() == nullptr) return nullptr;
  std::unique_ptr<ChmFile> chm = ChmFile::Open(file);
  if (!chm) return nullptr;
  auto window = std::make_unique<HelpWindow>(std::move(chm), file);
  if (!window->HasSomethingToShow()) return nullptr;
  windows_.emplace_back(window.get());
  return window.release();
}

void ChmHelpEngine::CloseAll() {
  for (const QPointer<HelpWindow>& w : windows_) {
    if (w) w->close();
  }
  windows_.clear();
}

void ChmHelpEngine::HtmlHelp(HelpOwner, const std::string& name, unsigned command, const HtmlHelpData& data) {
  if (command == kHhCloseAll) {
    CloseAll();
    return;
  }
  const auto [file, page] = SplitTopicName(name);
  HelpWindow* window = WindowFor(file);
  if (window == nullptr) return;
  switch (command) {
    case kHhDisplayTopic:
      window->ShowPage(page);
      break;
    case kHhDisplayToc:
      window->ShowContents();
      break;
    case kHhDisplayIndex:
      window->ShowIndex(data.text);
      break;
    case kHhHelpContext:
      window->ShowContext(static_cast<std::uint32_t>(data.number));
      break;
    default:
      break;
  }
}

EngineLoader ChmEngineLoader() {
  return [] { return std::make_shared<ChmHelpEngine>(); };
}

EngineLoader DefaultEngineLoader() { return ChmEngineLoader(); }

}  // namespace velquior::help
