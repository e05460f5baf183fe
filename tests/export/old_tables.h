#pragma once
// What the export's tests share: a small school, and a work directory with
// an old set of tables whose bytes a failed run must leave alone.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/test_util.h"

namespace velquior::testing {

inline const std::vector<std::string> kAllTables = {"ASIGNOMT.DBF",   "ASIGT.DBF",   "AULAT.DBF",
                                                    "DIASHORAST.DBF", "GRUPOST.DBF", "PROFT.DBF"};

inline constexpr const char* kSmallSchool = R"(<?xml version="1.0" encoding="UTF-8"?>
<document>
  <subjects><subject id="s1" name="Matemáticas" hours="4"/></subjects>
  <teachers><teacher id="t1">Juan Pérez López</teacher></teachers>
  <locations><location id="l1">Aula 1</location></locations>
  <groups>
    <group id="g1" regim="M" name="ESO 1A">Primero A
      <assigned-subjects>
        <assigned-subject id="s1"><assigned-teachers><assigned-teacher id="t1"/></assigned-teachers></assigned-subject>
      </assigned-subjects>
    </group>
  </groups>
</document>
)";

// Old tables with recognisable bytes, and an index.
inline void PlantOldTables(const std::filesystem::path& work_dir) {
  for (const auto& name : kAllTables) WriteFile(work_dir / name, "old " + name);
  WriteFile(work_dir / "ASIGNOMT.MDX", "old index");
}

inline void ExpectOldTablesUntouched(const std::filesystem::path& work_dir) {
  for (const auto& name : kAllTables) EXPECT_EQ(ReadFile(work_dir / name), "old " + name);
  EXPECT_EQ(ReadFile(work_dir / "ASIGNOMT.MDX"), "old index");
  std::vector<std::string> expected = kAllTables;
  expected.insert(expected.begin() + 1, "ASIGNOMT.MDX");
  EXPECT_EQ(ListDir(work_dir), expected);  // no staging folder left behind
}

}  // namespace velquior::testing
