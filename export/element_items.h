#pragma once
// Reading the items of one kind of SAGA element. Every value comes trimmed of
// blanks at both ends; an item the element lacks reads as the empty text and
// is reported to the reporter, so the builder still writes its record.

#include <string>
#include <string_view>

#include "conversion/reporter.h"
#include "xml/document.h"

namespace velquior {

class ElementItems {
 public:
  // `element` names the kind in reports ("subject"); it must outlive this.
  ElementItems(Reporter& reporter, std::string_view element) : reporter_(reporter), element_(element) {}

  // Moves to the next element of the kind; call once per element, first.
  void Next() { ++position_; }

  std::string Attribute(const xml::Node& node, std::string_view name);
  std::string FirstChildText(const xml::Node& node);

 private:
  void Report(std::string what);

  Reporter& reporter_;
  std::string_view element_;
  long position_ = 0;
};

}  // namespace velquior
