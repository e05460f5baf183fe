#pragma once
// The history's words. UTF-8; templates take their arguments through
// Format() in the order of their "%s".

#include <string_view>

namespace velquior::history::msg {

// Describe(): the kind, the date, the time, then what the entry holds.
inline constexpr std::string_view kEntrada = "%s del %s a las %s: %s";
inline constexpr std::string_view kExportacion = "Exportación";
inline constexpr std::string_view kImportacion = "Importación";
inline constexpr std::string_view kRestauracion = "Restauración";
inline constexpr std::string_view kSeisTablas = "seis tablas de %s";
inline constexpr std::string_view kElDocumento = "el documento %s";

// Keeping what a run replaces. The last %s says why.
inline constexpr std::string_view kHistorialNoEscrito =
    "No se puede guardar en el historial (%s) lo que la conversión reemplazaría: %s. No se ha cambiado nada; "
    "para convertir sin historial, velquior-convert admite --no-history";
inline constexpr std::string_view kSinCarpetaDeDatos =
    "no se sabe cuál es la carpeta de datos del usuario ($XDG_DATA_HOME o $HOME)";
inline constexpr std::string_view kNoSePuedeLeerArchivo = "no se puede leer %s: %s";

// Restore.
inline constexpr std::string_view kNadaQueDeshacer = "No hay nada que deshacer";
inline constexpr std::string_view kNoHayEntrada = "El historial no tiene la entrada %s; tiene %s";
inline constexpr std::string_view kCopiaDanada =
    "La copia de %s en el historial (%s) no es la que se guardó; no se ha cambiado nada";
inline constexpr std::string_view kDeshecho = "Se ha puesto de nuevo lo que había antes de la %s";
inline constexpr std::string_view kPreguntaDeshacer =
    "%s\n\n¿Deshacer esta conversión y poner de nuevo lo que había antes? Lo que hay ahora se guarda en el "
    "historial.";
inline constexpr std::string_view kBotonDeshacer = "Deshacer";
inline constexpr std::string_view kBotonCancelar = "Cancelar";

// A replacement of the files of an entry. The first %s is the file's name.
inline constexpr std::string_view kArchivoEnUso = "%s: el archivo está abierto en exclusiva por otro programa";
inline constexpr std::string_view kArchivoNoSePuedeCrear = "%s: no se puede crear el archivo: %s";
inline constexpr std::string_view kArchivoNoSePuedeReemplazar = "%s: no se puede reemplazar el archivo: %s";
inline constexpr std::string_view kArchivosNoRestaurados =
    "No se pudieron volver a poner los archivos anteriores; están en %s: %s";
inline constexpr std::string_view kSinCarpeta = "No existe la carpeta %s";
inline constexpr std::string_view kCarpetaEnUso = "La carpeta %s está en uso por otra conversión";
inline constexpr std::string_view kCarpetaNoEscribible = "No se puede escribir en la carpeta %s: %s";

// velquior-convert history.
inline constexpr std::string_view kHistorialVacio = "El historial está vacío";
inline constexpr std::string_view kLineaHistorial = "%s. %s";             // number, Describe()
inline constexpr std::string_view kLineaDocumento = "   documento: %s";  // for an export

}  // namespace velquior::history::msg
