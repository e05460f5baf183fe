#pragma once
// libxml2's error reporting as the document uses it: nothing reaches the
// terminal, and the first error of an operation becomes its reason.

#include <libxml/xmlerror.h>

#include <string>

namespace velquior::xml::detail {

// libxml2's message on one line, without the trailing newline.
std::string CleanMessage(const char* message);

// Why a parse failed, in Spanish, with the names and lines libxml2 gives;
// libxml2's own message for the failures not translated.
std::string ReasonOf(const xmlError& error);

// Sends the thread's global structured errors to `handler` and silences the
// generic ones for its lifetime. libxml2 2.9 keeps these handlers per
// thread, so this touches no other thread. Needed beside the parser
// context's own handler because the encoding layer and the writer report
// without a context.
class ScopedErrorHandler {
 public:
  explicit ScopedErrorHandler(xmlStructuredErrorFunc handler);
  ~ScopedErrorHandler();
  ScopedErrorHandler(const ScopedErrorHandler&) = delete;
  ScopedErrorHandler& operator=(const ScopedErrorHandler&) = delete;

 private:
  xmlStructuredErrorFunc saved_;
  void* saved_ctx_;
  xmlGenericErrorFunc saved_generic_;
  void* saved_generic_ctx_;
};

}  // namespace velquior::xml::detail
