#pragma once
// The host's tables: names, fields in their order, types and widths. Every
// table or field name the program uses comes from here.

#include <array>
#include <span>
#include <string_view>

#include "tables/table.h"

namespace velquior::catalog {

using tables::FieldDef;
using tables::FieldType;

// Field names (several tables share some of them).
namespace f {
inline constexpr std::string_view kCod = "COD";
inline constexpr std::string_view kCodLargo = "CODLARGO";
inline constexpr std::string_view kNombre = "NOMBRE";
inline constexpr std::string_view kIdSaga = "IDSAGA";
inline constexpr std::string_view kHoras = "HORAS";
inline constexpr std::string_view kAbrev = "ABREV";
inline constexpr std::string_view kDepart = "DEPART";
inline constexpr std::string_view kDni = "DNI";
inline constexpr std::string_view kEdificio = "EDIFICIO";
inline constexpr std::string_view kMaxAlum = "MAXALUM";
inline constexpr std::string_view kTurno = "TURNO";
inline constexpr std::string_view kNivel = "NIVEL";
inline constexpr std::string_view kCurso = "CURSO";
inline constexpr std::string_view kGrupo = "GRUPO";
inline constexpr std::string_view kDescrip = "DESCRIP";
inline constexpr std::string_view kCAsig = "CASIG";
inline constexpr std::string_view kCProf = "CPROF";
inline constexpr std::string_view kCGrup = "CGRUP";
inline constexpr std::string_view kCAula = "CAULA";
inline constexpr std::string_view kSesiones = "SESIONES";
inline constexpr std::string_view kNConex = "NCONEX";
inline constexpr std::string_view kCTarea = "CTAREA";
inline constexpr std::string_view kDiHo = "DIHO";
inline constexpr std::string_view kCodDiHo = "CODDIHO";
inline constexpr std::string_view kDia = "DIA";
inline constexpr std::string_view kTextoDia = "TEXTODIA";
inline constexpr std::string_view kHora = "HORA";
inline constexpr std::string_view kHoraDesde = "HORADESDE";
inline constexpr std::string_view kHoraHasta = "HORAHASTA";
inline constexpr std::string_view kMinutos = "MINUTOS";
inline constexpr std::string_view kCodGrupo = "CODGRUPO";
inline constexpr std::string_view kProf = "PROF";
inline constexpr std::string_view kAsig = "ASIG";
inline constexpr std::string_view kAula = "AULA";
}  // namespace f

struct TableSpec {
  std::string_view name;  // without extension
  std::span<const FieldDef> fields;
};

inline constexpr std::array<FieldDef, 5> kAsignomtFields{{
    {f::kCod, FieldType::kText, 10},
    {f::kCodLargo, FieldType::kText, 10},
    {f::kNombre, FieldType::kText, 80},
    {f::kIdSaga, FieldType::kText, 60},
    {f::kHoras, FieldType::kText, 8},
}};
inline constexpr std::array<FieldDef, 5> kProftFields{{
    {f::kAbrev, FieldType::kText, 10},
    {f::kNombre, FieldType::kText, 80},
    {f::kDepart, FieldType::kText, 40},
    {f::kDni, FieldType::kInteger},
    {f::kIdSaga, FieldType::kText, 60},
}};
inline constexpr std::array<FieldDef, 5> kAulatFields{{
    {f::kAbrev, FieldType::kText, 10},
    {f::kNombre, FieldType::kText, 80},
    {f::kEdificio, FieldType::kText, 1},
    {f::kMaxAlum, FieldType::kInteger},
    {f::kIdSaga, FieldType::kText, 60},
}};
inline constexpr std::array<FieldDef, 7> kGrupostFields{{
    {f::kAbrev, FieldType::kText, 10},
    {f::kTurno, FieldType::kText, 1},
    {f::kNivel, FieldType::kText, 5},
    {f::kCurso, FieldType::kText, 3},
    {f::kGrupo, FieldType::kText, 2},
    {f::kIdSaga, FieldType::kText, 60},
    {f::kDescrip, FieldType::kText, 80},
}};
inline constexpr std::array<FieldDef, 12> kAsigtFields{{
    {f::kCAsig, FieldType::kText, 10},
    {f::kCProf, FieldType::kText, 10},
    {f::kCGrup, FieldType::kText, 10},
    {f::kCAula, FieldType::kText, 10},
    {f::kTurno, FieldType::kText, 1},
    {f::kNivel, FieldType::kText, 5},
    {f::kCurso, FieldType::kText, 3},
    {f::kGrupo, FieldType::kText, 2},
    {f::kHoras, FieldType::kFloat},
    {f::kSesiones, FieldType::kText, 20},
    {f::kNConex, FieldType::kText, 4},
    {f::kCTarea, FieldType::kText, 10},
}};
inline constexpr std::array<FieldDef, 8> kDiasHorastFields{{
    {f::kDiHo, FieldType::kText, 10},
    {f::kCodDiHo, FieldType::kText, 10},
    {f::kDia, FieldType::kText, 20},
    {f::kTextoDia, FieldType::kText, 20},
    {f::kHora, FieldType::kText, 8},
    {f::kHoraDesde, FieldType::kText, 8},
    {f::kHoraHasta, FieldType::kText, 8},
    {f::kMinutos, FieldType::kText, 8},
}};

inline constexpr TableSpec kAsignomt{"ASIGNOMT", kAsignomtFields};
inline constexpr TableSpec kProft{"PROFT", kProftFields};
inline constexpr TableSpec kAulat{"AULAT", kAulatFields};
inline constexpr TableSpec kGrupost{"GRUPOST", kGrupostFields};
inline constexpr TableSpec kAsigt{"ASIGT", kAsigtFields};
inline constexpr TableSpec kDiasHorast{"DIASHORAST", kDiasHorastFields};
inline constexpr std::string_view kSoluc = "SOLUC";

// The six tables the export re-creates, in the order it writes them.
inline constexpr std::array<const TableSpec*, 6> kExportTables{&kAsignomt, &kProft, &kAulat,
                                                               &kGrupost,  &kAsigt, &kDiasHorast};

inline constexpr std::string_view kDataExtension = ".DBF";
inline constexpr std::string_view kIndexExtension = ".MDX";

// The form's table components.
inline constexpr std::string_view kWwTableNomAsg = "wwTableNomAsg";
inline constexpr std::string_view kWwTableProfesor = "wwTableProfesor";
inline constexpr std::string_view kWwTableAulas = "wwTableAulas";
inline constexpr std::string_view kWwTableGrupos = "wwTableGrupos";
inline constexpr std::string_view kWwTableDiasHoras = "wwTableDiasHoras";
inline constexpr std::string_view kWwTableSoluc = "wwTableSoluc";

// Deletes the table's .DBF and .MDX in every letter case, then creates it
// empty with its fields under the upper-case name. Leaves it closed.
void RecreateTable(const std::filesystem::path& dir, const TableSpec& layout);

}  // namespace velquior::catalog
