#include "xml/libxml_errors.h"

#include <libxml/globals.h>

namespace velquior::xml::detail {
namespace {

void IgnoreGeneric(void*, const char*, ...) {}

}  // namespace

std::string CleanMessage(const char* message) {
  std::string out;
  bool space = false;
  for (const char* p = message; p != nullptr && *p != '\0'; ++p) {
    char c = *p;
    if (c == '\n' || c == '\r' || c == '\t' || c == ' ') {
      space = !out.empty();
      continue;
    }
    if (space) out += ' ';
    space = false;
    out += c;
  }
  return out;
}

ScopedErrorHandler::ScopedErrorHandler(xmlStructuredErrorFunc handler)
    : saved_(xmlStructuredError),
      saved_ctx_(xmlStructuredErrorContext),
      saved_generic_(xmlGenericError),
      saved_generic_ctx_(xmlGenericErrorContext) {
  xmlSetStructuredErrorFunc(nullptr, handler);
  xmlSetGenericErrorFunc(nullptr, IgnoreGeneric);
}

ScopedErrorHandler::~ScopedErrorHandler() {
  xmlSetStructuredErrorFunc(saved_ctx_, saved_);
  xmlSetGenericErrorFunc(saved_generic_ctx_, saved_generic_);
}

}  // namespace velquior::xml::detail
