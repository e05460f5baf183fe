#pragma once
// What is wrong with a table file, for the second "%s" of msg::kTablaDanada
// ("SOLUC.DBF: la cabecera indica 13 registros y el archivo tiene 8"), and the
// reasons of msg::kTablaNoSePuedeCrear. UTF-8, through Format().

#include <string_view>

namespace velquior::tables::dbf::why {

// Header and field list.
inline constexpr std::string_view kArchivoCorto =
    "el archivo tiene %s bytes y no llega a la cabecera de una tabla dBASE";
inline constexpr std::string_view kVersionDesconocida =
    "no es una tabla dBASE (el primer byte es 0x%s)";
inline constexpr std::string_view kCabeceraMasLarga =
    "la cabecera indica que ocupa %s bytes y el archivo tiene %s";
inline constexpr std::string_view kSinTerminador =
    "la lista de campos no termina dentro de la cabecera";
inline constexpr std::string_view kSinCampos = "la tabla no tiene campos";
inline constexpr std::string_view kAnchoCero = "el campo %s tiene anchura 0";
inline constexpr std::string_view kTipoDesconocido = "el campo %s es de un tipo desconocido ('%s')";
inline constexpr std::string_view kAnchoNoValido = "el campo %s de tipo %s tiene anchura %s y debe tener %s";
inline constexpr std::string_view kRegistroCorto =
    "la cabecera indica registros de %s bytes y sus campos, con la marca de borrado, ocupan %s";
inline constexpr std::string_view kFaltanRegistros = "la cabecera indica %s registros y el archivo tiene %s";
inline constexpr std::string_view kMarcaNoValida =
    "el registro %s tiene una marca de borrado no válida (0x%s)";

// Values (found when the field is read).
inline constexpr std::string_view kRegistroIncompleto = "el registro %s está incompleto";
inline constexpr std::string_view kValorNoValido = "el registro %s tiene en el campo %s un valor no válido: '%s'";

// Writing into a table that is open.
inline constexpr std::string_view kNoSeAnade =
    "no se pueden añadir registros a esta tabla: el campo %s es de tipo %s";
inline constexpr std::string_view kNoSeAnadeFormato =
    "no se pueden añadir registros a una tabla de este formato (byte de versión 0x%s)";
inline constexpr std::string_view kCambiadaFuera = "otro programa ha cambiado la tabla mientras estaba abierta";
inline constexpr std::string_view kSinSitio = "no caben más registros en la tabla";

// Creation.
inline constexpr std::string_view kSinDirectorio = "no existe el directorio %s";
inline constexpr std::string_view kDemasiadosCampos = "tiene %s campos y dBASE admite %s";
inline constexpr std::string_view kNombreNoValido =
    "el nombre de campo '%s' no es válido (de 1 a 10 letras, cifras o '_', empezando por una letra)";
inline constexpr std::string_view kNombreRepetido = "el campo %s está repetido";
inline constexpr std::string_view kAnchoTexto = "el campo %s tiene anchura %s y debe tener de 1 a %s";
inline constexpr std::string_view kRegistroLargo = "los registros ocuparían %s bytes y dBASE admite %s";

}  // namespace velquior::tables::dbf::why
