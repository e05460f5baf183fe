// Loading: the file's bytes are read here, not by libxml2, so that a missing
// file, a directory or a device gets its own reason and nothing is ever
// decompressed or fetched behind the program's back.

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <climits>
#include <cstdint>
#include <mutex>

#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"
#include "platform/open_file.h"
#include "xml/doc_state.h"
#include "xml/document.h"
#include "xml/libxml_errors.h"
#include "xml/tree_memory.h"
#include "xml/windows_1252.h"

namespace velquior::xml {
namespace detail {
namespace {

xmlParserInputPtr RefuseExternalEntity(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

}  // namespace

void InitLibxml() {
  static std::once_flag once;
  std::call_once(once, [] {
    InstallTreeMemory();
    xmlInitParser();
    RegisterWindows1252();
    // Process-wide, and the only way 2.9 offers: no external entity or DTD is
    // read by anything in this program.
    xmlSetExternalEntityLoader(RefuseExternalEntity);
  });
}

SourceForm ReadSourceForm(std::string_view bytes) {
  SourceForm form;
  auto at = [&](std::size_t i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : -1; };
  std::size_t pos = 0;
  int step = 1;
  int offset = 0;  // of the ASCII byte within a UTF-16 code unit
  if (at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) {
    form.bom = true;
    pos = 3;
  } else if (at(0) == 0xFF && at(1) == 0xFE) {
    form.bom = true;
    form.utf16 = Utf16::kLittleEndian;
    pos = 2;
  } else if (at(0) == 0xFE && at(1) == 0xFF) {
    form.bom = true;
    form.utf16 = Utf16::kBigEndian;
    pos = 2;
  } else if (at(0) == '<' && at(1) == 0 && at(2) == '?' && at(3) == 0) {
    form.utf16 = Utf16::kLittleEndian;
  } else if (at(0) == 0 && at(1) == '<' && at(2) == 0 && at(3) == '?') {
    form.utf16 = Utf16::kBigEndian;
  }
  if (form.utf16 != Utf16::kNo) {
    step = 2;
    if (form.utf16 == Utf16::kBigEndian) offset = 1;
  }
  // The declaration is ASCII in every encoding this reads; it ends at "?>".
  std::string decl;
  for (std::size_t i = pos; decl.size() < 512; i += static_cast<std::size_t>(step)) {
    int c = at(i + static_cast<std::size_t>(offset));
    if (c <= 0 || c >= 0x80 || (step == 2 && at(i + static_cast<std::size_t>(1 - offset)) != 0)) break;
    decl += static_cast<char>(c);
    if (decl.ends_with("?>")) break;
  }
  const bool is_decl = decl.size() > 6 && decl.starts_with("<?xml") && decl.ends_with("?>") &&
                       (decl[5] == ' ' || decl[5] == '\t' || decl[5] == '\r' || decl[5] == '\n');
  if (!is_decl) return form;
  form.declaration = decl;
  auto key = decl.find("encoding");
  if (key == std::string::npos) return form;
  std::size_t i = key + 8;
  while (i < decl.size() && (decl[i] == ' ' || decl[i] == '\t' || decl[i] == '\r' || decl[i] == '\n' || decl[i] == '='))
    ++i;
  if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\'')) return form;
  auto end = decl.find(decl[i], i + 1);
  if (end != std::string::npos) form.encoding = decl.substr(i + 1, end - i - 1);
  return form;
}

}  // namespace detail

namespace {

// Errors of one parse. libxml2 reports most through the context's structured
// handler; its encoding layer has no context and reports through the
// thread's global handler, which is taken over for the parse only.
struct ErrorLog {
  xmlParserCtxtPtr ctxt = nullptr;
  bool have_fatal = false;
  bool have_error = false;
  LoadResult first;  // first fatal error, else first error
};

thread_local ErrorLog* t_log = nullptr;

// Where an error stands in the file: its own line when the main input
// raised it; the main input's line when an entity's text did (whose lines
// count from the entity); unknown (0) for the encoding layer, which decodes
// ahead of the parser.
int LineOf(const ErrorLog& log, const xmlError& error) {
  if (error.ctxt == nullptr) return 0;
  if (error.ctxt == log.ctxt && error.line > 0) return error.line;
  if (log.ctxt->input != nullptr && log.ctxt->input->line > 0) return log.ctxt->input->line;
  return 0;
}

void Record(void*, xmlErrorPtr error) noexcept {
  ErrorLog* log = t_log;
  if (log == nullptr || error == nullptr || error->level < XML_ERR_ERROR) return;
  const bool fatal = error->level == XML_ERR_FATAL;
  if (log->have_fatal || (log->have_error && !fatal)) {
    // The parser stumbles right after a decoding failure: its line is the one.
    if (log->first.line == 0) log->first.line = LineOf(*log, *error);
    return;
  }
  log->first.line = LineOf(*log, *error);
  try {
    log->first.reason = detail::ReasonOf(*error);
  } catch (...) {
    // Out of memory inside libxml2's frames: no reason text, the failure stays.
    log->first.reason.clear();
  }
  log->have_error = true;
  log->have_fatal = fatal;
}

LoadResult Failure(std::string reason) {
  LoadResult r;
  r.reason = std::move(reason);
  return r;
}

bool IsXmlSpace(xmlChar c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsBlank(const xmlChar* s) {
  if (s == nullptr) return true;
  for (; *s != 0; ++s) {
    if (!IsXmlSpace(*s)) return false;
  }
  return true;
}

// Drops every text node of white space only whose parent is an element.
// CDATA sections stay; entity declarations' children are not walked.
void DropBlankText(xmlNode* root) {
  xmlNode* cur = root;
  while (cur != nullptr) {
    if (cur->type == XML_ELEMENT_NODE && cur->children != nullptr) {
      cur = cur->children;
      continue;
    }
    xmlNode* here = cur;
    while (cur != root && cur->next == nullptr) cur = cur->parent;
    xmlNode* next = cur == root ? nullptr : cur->next;
    if (here->type == XML_TEXT_NODE && here->parent != nullptr && here->parent->type == XML_ELEMENT_NODE &&
        IsBlank(here->content)) {
      xmlUnlinkNode(here);
      xmlFreeNode(here);
    }
    cur = next;
  }
}

struct ParserContext {
  xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
  ~ParserContext() {
    if (ctxt != nullptr) xmlFreeParserCtxt(ctxt);
  }
};

LoadResult Parse(std::string_view bytes, xmlDoc*& out) {
  out = nullptr;
  if (bytes.empty()) return Failure(std::string(msg::kXmlArchivoVacio));
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return Failure(std::string(msg::kXmlArchivoDemasiadoGrande));
  detail::InitLibxml();
  ParserContext pc;
  if (pc.ctxt == nullptr) throw std::bad_alloc();
  ErrorLog log;
  log.ctxt = pc.ctxt;
  t_log = &log;
  struct Reset {
    ~Reset() { t_log = nullptr; }
  } reset;
  detail::ScopedErrorHandler taken(Record);
  pc.ctxt->sax->serror = Record;
  // No external subset, even if some option asked for it.
  pc.ctxt->sax->externalSubset = nullptr;
  // Not wanted: NOENT (entity substitution), DTDLOAD, DTDATTR, DTDVALID,
  // XINCLUDE, HUGE (raised limits), RECOVER (half-read documents).
  // NOBLANKS spares most white-space nodes from being built at all; the pass
  // after parsing drops the ones its guess keeps.
  const int options =
      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES | XML_PARSE_NOBLANKS;
  xmlDoc* doc = xmlCtxtReadMemory(pc.ctxt, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr, options);
  if (doc != nullptr && !pc.ctxt->wellFormed) {
    xmlFreeDoc(doc);
    doc = nullptr;
  }
  if (doc == nullptr) {
    if (!log.have_error || log.first.reason.empty()) log.first.reason = msg::kXmlErrorDesconocido;
    return log.first;
  }
  if (xmlDocGetRootElement(doc) == nullptr) {
    xmlFreeDoc(doc);
    return Failure(std::string(msg::kXmlSinRaiz));
  }
  DropBlankText(xmlDocGetRootElement(doc));
  out = doc;
  LoadResult ok;
  ok.ok = true;
  return ok;
}

// The whole regular file, or the reason it cannot be had.
std::optional<LoadResult> ReadFile(const std::filesystem::path& file, std::string& bytes) {
  using platform::FileKind;
  std::error_code error;
  // Without waiting: opening a FIFO must not wait for a writer.
  platform::OpenFile f = platform::OpenFile::Open(file, platform::OpenFile::Access::kReadNoWait, error);
  if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory) {
    return Failure(std::string(msg::kXmlArchivoNoExiste));
  }
  if (error == std::errc::is_a_directory) return Failure(std::string(msg::kXmlEsDirectorio));
  if (error) return Failure(Format(msg::kXmlArchivoNoLegible, {error.message()}));
  const FileKind kind = f.Kind(error);
  if (error) return Failure(Format(msg::kXmlArchivoNoLegible, {error.message()}));
  if (kind == FileKind::kDirectory) return Failure(std::string(msg::kXmlEsDirectorio));
  if (kind != FileKind::kRegular) return Failure(std::string(msg::kXmlNoEsArchivoNormal));
  const std::uint64_t size = f.Size(error);
  if (size > INT_MAX) return Failure(std::string(msg::kXmlArchivoDemasiadoGrande));
  bytes.reserve(static_cast<std::size_t>(size));
  char buf[1 << 16];
  while (const std::size_t n = f.Read(buf, sizeof buf, error)) {
    bytes.append(buf, n);
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return Failure(std::string(msg::kXmlArchivoDemasiadoGrande));
  }
  if (error) return Failure(Format(msg::kXmlArchivoNoLegible, {error.message()}));
  return std::nullopt;
}

}  // namespace

std::string LoadResult::message(const std::filesystem::path& file) const {
  if (line > 0) return Format(msg::kXmlNoValido, {PathForMessage(file), std::to_string(line), reason});
  return Format(msg::kXmlNoValidoSinLinea, {PathForMessage(file), reason});
}

LoadResult Document::loadXml(std::string_view bytes) {
  try {
    detail::FreeDocument(doc_);
    doc_ = nullptr;
    xmlDoc* doc = nullptr;
    LoadResult result = Parse(bytes, doc);
    if (doc != nullptr) {
      doc_ = doc;
      detail::StateOf(doc_).form = detail::ReadSourceForm(bytes);
    }
    return result;
  } catch (const std::exception& e) {
    detail::FreeDocument(doc_);
    doc_ = nullptr;
    return Failure(e.what());
  } catch (...) {
    detail::FreeDocument(doc_);
    doc_ = nullptr;
    return Failure(std::string(msg::kXmlErrorDesconocido));
  }
}

LoadResult Document::load(const std::filesystem::path& file) {
  try {
    detail::FreeDocument(doc_);
    doc_ = nullptr;
    std::string bytes;
    if (auto failure = ReadFile(file, bytes)) return *failure;
    return loadXml(bytes);
  } catch (const std::exception& e) {
    detail::FreeDocument(doc_);
    doc_ = nullptr;
    return Failure(e.what());
  } catch (...) {
    detail::FreeDocument(doc_);
    doc_ = nullptr;
    return Failure(std::string(msg::kXmlErrorDesconocido));
  }
}

}  // namespace velquior::xml
