#pragma once
// A check run over a document written in the test and a scratch work
// directory, its findings shown compactly for comparison.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "check/finding.h"
#include "tests/test_util.h"
#include "xml/document.h"

namespace velquior::testing {

// "where position [id] detail", the parts a finding's reader tells records by.
inline std::string Shown(const check::Concerned& c) {
  return c.where + " " + std::to_string(c.position) + " [" + c.id + "] " + c.detail;
}

inline std::vector<const check::Finding*> OfKind(const check::Report& report, std::string_view kind) {
  std::vector<const check::Finding*> out;
  for (const auto& f : report.findings) {
    if (f.kind == kind) out.push_back(&f);
  }
  return out;
}

inline std::vector<std::string> ShownRecords(const check::Finding& f) {
  std::vector<std::string> out;
  for (const auto& r : f.records) out.push_back(Shown(r));
  return out;
}

// `inner_utf8` is the content of the document element.
inline std::unique_ptr<xml::Document> LoadInner(const std::string& inner_utf8) {
  auto doc = std::make_unique<xml::Document>();
  EXPECT_TRUE(doc->loadXml("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<document>" + inner_utf8 + "</document>").ok);
  return doc;
}

}  // namespace velquior::testing
