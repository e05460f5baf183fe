#pragma once
// The sections of the import, each appending its container to the
// time-table element from the form's tables, which the import driver has
// opened for it. Sections read tables and never open or close them.

#include <string>
#include <string_view>
#include <unordered_set>

#include "import/activity_index.h"
#include "tables/form_tables.h"
#include "tables/key_index.h"
#include "xml/document.h"

namespace velquior {

// UsadoEnSoluc: whether some SOLUC record has exactly `text` in `field`.
// Reads SOLUC's field once, on the first question about it.
class UsadoEnSoluc {
 public:
  UsadoEnSoluc(tables::Table& soluc, std::string_view field);
  bool operator()(const std::string& text) const { return used_.contains(text); }

 private:
  std::unordered_set<std::string> used_;
};

// BuscarIdSaga: the IDSAGA of the first record whose key field equals a
// code, or the code itself when no record does.
class BuscarIdSaga {
 public:
  BuscarIdSaga(tables::Table& table, std::string_view key_field);
  std::string operator()(const std::string& code) const;
  // The IDSAGA of that record; nullptr when no record has the code.
  const std::string* Registro(const std::string& code) const;

 private:
  tables::KeyIndex index_;
};

// `days` with a `day` per weekday 1-7 found in DIASHORAST and its intervals.
void EscribirDias(xml::Document& doc, xml::Node time_table, tables::FormTables& t);
// `groups`, `members`, `activities`: the catalogue records SOLUC uses.
void EscribirGrupos(xml::Document& doc, xml::Node time_table, tables::FormTables& t);
void EscribirMiembros(xml::Document& doc, xml::Node time_table, tables::FormTables& t);
IndiceActividades EscribirActividades(xml::Document& doc, xml::Node time_table, tables::FormTables& t);
// `inputs`: one per scheduled SOLUC record. Raises the list-index error for a
// subject that no activity has, and the engine's conversion errors.
void EscribirEntradas(xml::Document& doc, xml::Node time_table, tables::FormTables& t,
                      const IndiceActividades& activities);

}  // namespace velquior
