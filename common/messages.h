#pragma once
// Every text that the program shows to its user, in one place. UTF-8.
// Templates take their arguments through Format() (common/format.h) in the
// order of their "%s".

#include <string_view>

namespace velquior::msg {

// The system's own messages (plain message box).
inline constexpr std::string_view kProcesoFinalizado = "Proceso finalizado";
inline constexpr std::string_view kNoExisteArchivo = "No existe archivo";

// The window's question before an export that changes codes the timetable
// uses: the codes (kCodigoDelHorario, one a line), then the choices.
inline constexpr std::string_view kPreguntaCodigos =
    "La exportación cambia códigos que usa el horario de Zeltimor (SOLUC):\n\n%s\n"
    "Con los códigos nuevos, la próxima importación daría esas lecciones a otros elementos o a ninguno.\n\n"
    "Conservar: cada elemento que ya estaba en las tablas conserva su código.\n"
    "Usar nuevos: los códigos se derivan de los nombres, como siempre.";
inline constexpr std::string_view kPreguntaCodigosMas = "... y %s más";
inline constexpr std::string_view kBotonConservar = "Conservar";
inline constexpr std::string_view kBotonUsarNuevos = "Usar nuevos";
inline constexpr std::string_view kBotonCancelar = "Cancelar";

// Library words that reach the user.
inline constexpr std::string_view kCampoNoEncontrado = "No se encuentra el campo '%s'";
inline constexpr std::string_view kEnteroNoValido = "'%s' no es un valor entero válido";
inline constexpr std::string_view kFlotanteNoValido = "'%s' no es un valor punto flotante válido";
inline constexpr std::string_view kListIndexOutOfBounds = "List index out of bounds (%d)";
inline constexpr std::string_view kUnableToWrite = "Unable to write to %s";

// Files.
inline constexpr std::string_view kNoSePuedeLeer = "%s: no se puede leer el archivo: %s";
inline constexpr std::string_view kNoSePuedeEscribir = "%s: no se puede escribir el archivo: %s";
inline constexpr std::string_view kEsUnDirectorio = "%s: es un directorio, no un archivo";

// Work directory.
inline constexpr std::string_view kSinDirectorioTrabajo = "No existe el directorio de trabajo %s";
inline constexpr std::string_view kDirectorioTrabajoNoEscribible =
    "No se puede escribir en el directorio de trabajo %s: %s";
inline constexpr std::string_view kDirectorioTrabajoEnUso =
    "El directorio de trabajo %s está en uso por otra conversión";

// Table engine. The first %s is always the table's file name.
inline constexpr std::string_view kTablaNoExiste = "%s: no existe la tabla en %s";
inline constexpr std::string_view kTablaEnUso = "%s: la tabla está abierta en exclusiva por otro programa";
inline constexpr std::string_view kTablaNoSePuedeCrear = "%s: no se puede crear la tabla: %s";
inline constexpr std::string_view kTablaDanada = "%s: %s";  // file, what is wrong
inline constexpr std::string_view kTablaNoAbierta = "%s: la tabla no está abierta";
inline constexpr std::string_view kTablaSinRegistro = "%s: no hay registro actual";
inline constexpr std::string_view kFaltaEnProvisional = "falta en la carpeta provisional";
inline constexpr std::string_view kTablaNoSePuedeReemplazar = "%s: no se puede reemplazar la tabla: %s";
inline constexpr std::string_view kReemplazoCarpeta = "en su lugar hay una carpeta";
inline constexpr std::string_view kArchivoSoloLectura = "el archivo es de solo lectura";
inline constexpr std::string_view kTablasNoRestauradas =
    "No se pudieron volver a poner las tablas anteriores; están en %s: %s";
inline constexpr std::string_view kValorNoCabe = "%s: el valor %s no cabe en el campo %s";

// XML document.
inline constexpr std::string_view kXmlNoValido = "%s no es un documento XML válido: línea %s: %s";
inline constexpr std::string_view kXmlSinElementoRaiz = "%s no es un documento XML válido: no tiene elemento raíz";
inline constexpr std::string_view kXmlRaizIncorrecta =
    "%s no es un documento SAGA: el elemento raíz es '%s' y debe ser 'document'";
inline constexpr std::string_view kXmlNoSePuedeGuardar = "%s: no se puede guardar el documento: %s";
inline constexpr std::string_view kXmlNoValidoSinLinea = "%s no es un documento XML válido: %s";
// Why a load failed (LoadResult::reason), besides the parser's own words.
inline constexpr std::string_view kXmlArchivoNoExiste = "el archivo no existe";
inline constexpr std::string_view kXmlArchivoNoLegible = "no se puede leer el archivo: %s";
inline constexpr std::string_view kXmlEsDirectorio = "es un directorio, no un archivo";
inline constexpr std::string_view kXmlNoEsArchivoNormal = "no es un archivo normal";
inline constexpr std::string_view kXmlArchivoVacio = "el archivo está vacío";
inline constexpr std::string_view kXmlArchivoDemasiadoGrande = "el archivo es demasiado grande";
inline constexpr std::string_view kXmlSinRaiz = "no tiene elemento raíz";
inline constexpr std::string_view kXmlErrorDesconocido = "error sin descripción del analizador XML";
inline constexpr std::string_view kXmlTextoNoUtf8 = "el documento contiene texto que no es UTF-8 válido";
inline constexpr std::string_view kXmlNodoDesconocido =
    "el documento contiene un nodo de un tipo que no se puede escribir";
// The parser's common failures (reason of kXmlNoValido); names as written.
inline constexpr std::string_view kXmlFaltaInicio = "no empieza con una etiqueta: no se encuentra '<'";
inline constexpr std::string_view kXmlContenidoTrasFinal = "hay contenido de más tras el final del documento";
inline constexpr std::string_view kXmlEtiquetasNoCoinciden = "la etiqueta <%s> de la línea %s se cierra con </%s>";
inline constexpr std::string_view kXmlEtiquetaSinCerrar =
    "el documento termina sin cerrar la etiqueta <%s> de la línea %s";
inline constexpr std::string_view kXmlDocumentoTerminaAntes = "el documento termina antes de tiempo";
inline constexpr std::string_view kXmlEtiquetaSinFinal = "la etiqueta <%s> de la línea %s no termina con '>'";
inline constexpr std::string_view kXmlFaltaMayorQue = "falta '>'";
inline constexpr std::string_view kXmlFaltaCierre = "falta la etiqueta de cierre '</'";
inline constexpr std::string_view kXmlFaltaNombre = "falta un nombre válido de elemento o atributo";
inline constexpr std::string_view kXmlMenorEnAtributo = "el valor de un atributo contiene '<' sin escapar";
inline constexpr std::string_view kXmlAtributoSinComillas = "el valor de un atributo no empieza con comillas";
inline constexpr std::string_view kXmlAtributoSinCerrar = "el valor de un atributo no cierra sus comillas";
inline constexpr std::string_view kXmlAtributosMalEscritos = "los atributos de una etiqueta están mal escritos";
inline constexpr std::string_view kXmlAtributoSinValor = "el atributo %s no tiene valor";
inline constexpr std::string_view kXmlAtributoRepetido = "el atributo %s aparece dos veces en el mismo elemento";
inline constexpr std::string_view kXmlCaracterNoPermitido = "el documento contiene un carácter no permitido";
inline constexpr std::string_view kXmlNoEsUtf8 =
    "el texto no es UTF-8 válido (bytes %s): indique su codificación en la declaración XML";
inline constexpr std::string_view kXmlNoEsUtf8SinBytes =
    "el texto no es UTF-8 válido: indique su codificación en la declaración XML";
inline constexpr std::string_view kXmlNoConvertible =
    "el texto no se puede leer en la codificación declarada (bytes %s)";
inline constexpr std::string_view kXmlCodificacionDesconocida = "la codificación %s no está admitida";
inline constexpr std::string_view kXmlEntidadNoDefinida = "la entidad '&%s;' no está definida";
inline constexpr std::string_view kXmlEntidadSinPuntoYComa = "falta ';' al final de una referencia de entidad";
inline constexpr std::string_view kXmlEntidadCircular = "una entidad se refiere a sí misma";
inline constexpr std::string_view kXmlReferenciaCaracter = "una referencia de carácter no es válida";
inline constexpr std::string_view kXmlComentarioSinCerrar = "un comentario no se cierra";
inline constexpr std::string_view kXmlFinCdataFuera = "la secuencia ']]>' no puede ir en el texto";
// Why a save failed (second %s of kXmlNoSePuedeGuardar).
inline constexpr std::string_view kXmlSoloLectura = "el archivo es de solo lectura";
inline constexpr std::string_view kXmlDirectorioSoloLectura = "el directorio %s es de solo lectura";
inline constexpr std::string_view kXmlNoSePuedeSerializar = "No se puede escribir el documento: %s";
inline constexpr std::string_view kXmlCodificacionNoAdmitida = "la codificación '%s' no está disponible";
// Misuse of the document by a conversion.
inline constexpr std::string_view kXmlNombreNoValido = "'%s' no es un nombre XML válido";
inline constexpr std::string_view kXmlCaracterNoValido =
    "El valor del atributo '%s' contiene un carácter que XML no admite (código %d)";
inline constexpr std::string_view kXmlNoSePuedeAnadir = "No se puede añadir el nodo '%s' a '%s'";
inline constexpr std::string_view kXmlNoEsHijo = "El nodo '%s' no es hijo de '%s'";
inline constexpr std::string_view kXmlNoEsElemento = "El nodo '%s' no es un elemento";

// Command-line converter.
inline constexpr std::string_view kUso =
    "Uso: velquior-convert export ARCHIVO.xml [--workdir DIR] [--decimal-separator SEP]\n"
    "                            [--keep-codes] [--no-history]\n"
    "     velquior-convert import ARCHIVO.xml [--workdir DIR] [--decimal-separator SEP]\n"
    "                            [--no-history]\n"
    "     velquior-convert check ARCHIVO.xml [--workdir DIR] [--decimal-separator SEP] [--json]\n"
    "                           [--keep-codes]\n"
    "     velquior-convert dump TABLA.DBF [--json]\n"
    "     velquior-convert history [--json]\n"
    "     velquior-convert restore [N]\n"
    "     velquior-convert --help | --version\n"
    "\n"
    "  export   crea las tablas de Zeltimor en el directorio de trabajo a partir del\n"
    "           documento SAGA\n"
    "  import   escribe el horario de Zeltimor en el documento SAGA\n"
    "  check    dice, sin escribir nada, qué harían la exportación y la importación:\n"
    "           datos que faltan o se repiten, códigos nuevos o cambiados, y códigos\n"
    "           del horario actual que la exportación cambiaría\n"
    "  dump     muestra los campos y los registros de una tabla\n"
    "  history  lista lo que guardó cada conversión antes de reemplazarlo, de la más\n"
    "           reciente a la más antigua (se guardan las 30 últimas)\n"
    "  restore  pone de nuevo lo que reemplazó la conversión N de history (si no, la\n"
    "           más reciente); lo que hay ahora se guarda antes en el historial\n"
    "\n"
    "  --workdir DIR            directorio de trabajo (si no, $VELQUIOR_WORKDIR o el de\n"
    "                           Zeltimor: C:\\ZTEMP en Windows, drive_c/ZTEMP del\n"
    "                           prefijo de Wine en Linux)\n"
    "  --decimal-separator SEP  separador decimal (si no, $VELQUIOR_DECIMAL_SEPARATOR o\n"
    "                           el de la configuración regional)\n"
    "  --json                   salida de check, dump o history en JSON\n"
    "  --keep-codes             export: cada elemento cuyo identificador SAGA ya tiene\n"
    "                           registro en las tablas del directorio de trabajo conserva\n"
    "                           su código; check: qué cambiaría aun así. Sin esta opción,\n"
    "                           export avisa de los códigos que usa el horario (SOLUC) y\n"
    "                           que cambian\n"
    "  --no-history             no guarda en el historial lo que se reemplaza\n"
    "\n"
    "Estado de salida: 0 proceso finalizado, 1 error, 2 uso incorrecto, 3 no existe archivo.\n"
    "check: 0 nada que corregir (puede haber notas), 4 algún error o aviso, 1 no se pudo\n"
    "comprobar, 2 uso incorrecto.\n";
inline constexpr std::string_view kUsoIncorrecto = "%s (velquior-convert --help muestra el uso)";
inline constexpr std::string_view kOrdenDesconocida = "orden desconocida: '%s'";
inline constexpr std::string_view kFaltaArchivo = "falta el archivo para '%s'";
inline constexpr std::string_view kFaltaValor = "falta el valor de %s";
inline constexpr std::string_view kOpcionDesconocida = "opción desconocida: '%s'";
inline constexpr std::string_view kSobraArgumento = "argumento de más: '%s'";
inline constexpr std::string_view kEntradaNoValida = "'%s' no es un número de entrada del historial";
inline constexpr std::string_view kSeparadorNoValido =
    "separador decimal no válido: '%s' (debe ser un solo carácter, como '.' o ',')";
inline constexpr std::string_view kAviso = "Aviso: %s";
inline constexpr std::string_view kSalidaNoEscrita = "No se pudo escribir en la salida estándar";
inline constexpr std::string_view kElementoIncompleto = "el elemento %s número %s no tiene %s";
inline constexpr std::string_view kTablaEscrita = "%s: %s registros";
// An export that keeps codes and could not keep some (after kAviso).
inline constexpr std::string_view kNoConservaTabla = "%s: no se conserva ningún código de la tabla: %s";
inline constexpr std::string_view kNoConservaElemento =
    "%s: el elemento %s número %s (%s) no conserva el código '%s': %s";
// Why an element does not keep its code.
inline constexpr std::string_view kNoConservaIdRepetido =
    "su identificador es también del elemento número %s, que lo conserva";
inline constexpr std::string_view kNoConservaCodigoTomado = "el elemento número %s conserva ese mismo código";
// dump of a table cut short (after kAviso): file, the header's count, complete records.
inline constexpr std::string_view kDumpRegistrosIncompletos =
    "%s: la cabecera indica %s registros y el archivo solo tiene %s completos; se muestran esos";

// `check`: what a conversion would do, found before it runs. Element names
// are SAGA's, table and field names Zeltimor's.
inline constexpr std::string_view kCarpetaProvisional = "No se puede crear una carpeta provisional en %s: %s";
inline constexpr std::string_view kCheckFaltaElemento =
    "Elementos %s sin %s (%s): la exportación los escribe con el texto vacío";
inline constexpr std::string_view kCheckIdRepetido =
    "El identificador '%s' está en %s elementos %s; las asignaciones usan el primero (número %s)";
inline constexpr std::string_view kCheckIdRepetidoAula =
    "El identificador '%s' está en %s elementos location; en SAGA el horario no los distingue";
inline constexpr std::string_view kCheckUsadoPorAsignaciones = "el que usan las asignaciones";
inline constexpr std::string_view kCheckNoUsado = "no lo usa ninguna asignación";
inline constexpr std::string_view kCheckAsignaturaDesconocida =
    "Asignaturas asignadas cuyo identificador no es de ningún elemento subject (%s)";
inline constexpr std::string_view kCheckAsignaturaEnAsigt = "grupo '%s'; ASIGT registro %s: CASIG '%s', HORAS '%s'";
inline constexpr std::string_view kCheckProfesorDesconocido =
    "Profesores asignados cuyo identificador no es de ningún elemento teacher (%s)";
inline constexpr std::string_view kCheckProfesorEnAsigt = "grupo '%s'; ASIGT registro %s: CPROF '%s'";
inline constexpr std::string_view kCheckProfesorNoCuenta =
    "grupo '%s'; no cuenta, solo el último profesor asignado: ASIGT registro %s: CPROF '%s'";
inline constexpr std::string_view kCheckContador =
    "Códigos de %s con un número porque otro elemento ya tenía el mismo (%s)";
inline constexpr std::string_view kCheckContadorDetalle = "código '%s'; '%s' ya es del elemento número %s ('%s')";
inline constexpr std::string_view kCheckContadorSinDueno = "código '%s' en lugar de '%s'";
inline constexpr std::string_view kCheckRecortado = "Códigos de %s recortados a 10 caracteres (%s)";
inline constexpr std::string_view kCheckRecortadoDetalle = "'%s' queda en '%s'";
inline constexpr std::string_view kCheckAnadidos = "Registros que la exportación añade a %s (%s)";
inline constexpr std::string_view kCheckQuitados = "Registros que la exportación quita de %s (%s)";
inline constexpr std::string_view kCheckCodigosCambian = "Códigos de %s que la exportación cambia (%s)";
inline constexpr std::string_view kCheckNombresCambian = "Nombres de %s que la exportación cambia (%s)";
inline constexpr std::string_view kCheckPasaA = "'%s' pasa a '%s'";
inline constexpr std::string_view kCheckCodigo = "código '%s'";
inline constexpr std::string_view kCheckHorario =
    "Códigos de %s que usa el horario (SOLUC) y que la exportación cambia o quita (códigos: %s; lecciones: %s)";
inline constexpr std::string_view kCheckHorarioCambia = "código '%s' pasa a '%s'; lecciones de SOLUC: %s";
inline constexpr std::string_view kCheckHorarioQuita = "código '%s' desaparece; lecciones de SOLUC: %s";
inline constexpr std::string_view kCheckHorarioNuevoDueno = "; '%s' será de '%s' (%s)";
inline constexpr std::string_view kCheckTablasIlegibles =
    "Tablas del directorio de trabajo que no se pueden leer: no se comparan ni se conserva ningún código suyo (%s)";
inline constexpr std::string_view kCheckNoConserva = "Elementos de %s que no conservan su código (%s)";
inline constexpr std::string_view kCheckNoConservaDetalle = "código '%s': %s";
// One code of the timetable that an export changes: table, element's name,
// its identifier, what happens to the code.
inline constexpr std::string_view kCodigoDelHorario = "%s, %s (%s): %s";
// The report.
inline constexpr std::string_view kCheckTitulo = "Comprobación de %s con el directorio de trabajo %s";
inline constexpr std::string_view kCheckExportacion = "Exportación";
inline constexpr std::string_view kCheckImportacion = "Importación";
inline constexpr std::string_view kCheckError = "Error";
inline constexpr std::string_view kCheckAvisoNivel = "Aviso";
inline constexpr std::string_view kCheckNota = "Nota";
inline constexpr std::string_view kCheckNadaQueSenalar = "Nada que señalar.";
inline constexpr std::string_view kCheckImportaria =
    "La importación escribiría: entradas: %s; actividades: %s; grupos: %s; miembros: %s.";
inline constexpr std::string_view kCheckResumen = "Resumen: errores: %s; avisos: %s; notas: %s.";

// Items an element of the SAGA document lacks (export), for kElementoIncompleto.
inline constexpr std::string_view kFaltaAtributo = "el atributo '%s'";
inline constexpr std::string_view kFaltaPrimerNodoHijo = "el primer nodo hijo";

// What the check finds on the import side: summaries, then the details of
// the records concerned. Codes and identifiers as stored.
inline constexpr std::string_view kChkAsignaturaDesconocida =
    "La asignatura '%s' de SOLUC no está en ASIGNOMT ni es la clave de ninguna actividad: la importación se "
    "detendría con «List index out of bounds (-1)»";
inline constexpr std::string_view kChkNoEsNumero =
    "El campo %s de SOLUC tiene '%s', que no se lee como número: la importación se detendría";
inline constexpr std::string_view kChkCodigoSinRegistro =
    "El código de %s '%s' no tiene registro en %s: la importación escribiría '%s' donde va un identificador SAGA";
inline constexpr std::string_view kChkAsignaturaSinRegistro =
    "La asignatura '%s' no tiene registro en ASIGNOMT: la importación tomaría '%s' como identificador SAGA de la "
    "asignatura";
inline constexpr std::string_view kChkIdSagaVacio =
    "El código de %s '%s' tiene IDSAGA vacío en %s: la importación lo escribiría sin identificador SAGA";
inline constexpr std::string_view kChkIdSagaDesconocido =
    "El identificador SAGA '%s' que %s da al código de %s '%s' no está en el documento (¿documento equivocado o "
    "tablas de otro centro?)";
inline constexpr std::string_view kChkDiaFueraDeRango =
    "El día %s de SOLUC está fuera de 1 a 7: la importación escribiría clases en un día que no existe";
inline constexpr std::string_view kChkHoraSinIntervalo =
    "El día %s, intervalo %s de SOLUC no está en DIASHORAST: la importación escribiría clases en un intervalo que "
    "no existe";
// A SOLUC lesson: day, hour, subject, group, teacher, room.
inline constexpr std::string_view kChkLeccion = "día %s, hora %s, asignatura %s, grupo %s, profesor %s, aula %s";
inline constexpr std::string_view kChkIdSaga = "IDSAGA '%s'";
// The kinds of code, for the summaries above.
inline constexpr std::string_view kChkGrupo = "grupo";
inline constexpr std::string_view kChkProfesor = "profesor";
inline constexpr std::string_view kChkAula = "aula";
inline constexpr std::string_view kChkAsignatura = "asignatura";
// velquior-convert import, after completing: a finding and where it is.
inline constexpr std::string_view kChkAvisoRegistros = "%s (%s, n.º %s)";
inline constexpr std::string_view kChkYMas = "%s y %s más";

// The window (app/).
inline constexpr std::string_view kTituloAplicacion = "Velquior";
inline constexpr std::string_view kTituloVentana = "Exportar e importar datos entre Zeltimor y SAGA";
inline constexpr std::string_view kRotuloExportar = "Transformar datos desde SAGA hacia Zeltimor ";
inline constexpr std::string_view kRotuloImportar = "Transformar datos desde Zeltimor hacia SAGA";
inline constexpr std::string_view kRotuloVersion = "Velquior para ZR40 V-1.0";
inline constexpr std::string_view kBotonAceptar = "Aceptar";
// What a screen reader says for each "Aceptar": the button, then its label.
inline constexpr std::string_view kNombreBotonConversion = "%s: %s";
inline constexpr std::string_view kBotonSalir = "&Salir";
inline constexpr std::string_view kBotonAyuda = "F1 AYUDA";
inline constexpr std::string_view kTituloDialogoXml = "Archivo XML";
// The file dialog's type column for a folder, and its dates (Qt's pattern).
inline constexpr std::string_view kTipoCarpeta = "Carpeta";
inline constexpr std::string_view kFormatoFechaArchivo = "d MMM yyyy H:mm";

// The help window (help/).
inline constexpr std::string_view kAyudaTitulo = "Ayuda";  // when the help file names no title
inline constexpr std::string_view kAyudaContenido = "Contenido";
inline constexpr std::string_view kAyudaIndice = "Índice";
inline constexpr std::string_view kAyudaBuscarPalabra = "Escriba la palabra clave:";

// What is wrong with a table file: the second "%s" of kTablaDanada and the
// reason of kTablaNoSePuedeCrear ("SOLUC.DBF: la cabecera indica 13 registros
// y el archivo tiene 8").
namespace why {

// Header and field list.
inline constexpr std::string_view kArchivoCorto =
    "el archivo tiene %s bytes y no llega a la cabecera de una tabla dBASE";
inline constexpr std::string_view kVersionDesconocida = "no es una tabla dBASE (el primer byte es 0x%s)";
inline constexpr std::string_view kCabeceraMasLarga = "la cabecera indica que ocupa %s bytes y el archivo tiene %s";
inline constexpr std::string_view kSinTerminador = "la lista de campos no termina dentro de la cabecera";
inline constexpr std::string_view kSinCampos = "la tabla no tiene campos";
inline constexpr std::string_view kAnchoCero = "el campo %s tiene anchura 0";
inline constexpr std::string_view kTipoDesconocido = "el campo %s es de un tipo desconocido ('%s')";
inline constexpr std::string_view kAnchoNoValido = "el campo %s de tipo %s tiene anchura %s y debe tener %s";
inline constexpr std::string_view kRegistroCorto =
    "la cabecera indica registros de %s bytes y sus campos, con la marca de borrado, ocupan %s";
inline constexpr std::string_view kFaltanRegistros = "la cabecera indica %s registros y el archivo tiene %s";
inline constexpr std::string_view kMarcaNoValida = "el registro %s tiene una marca de borrado no válida (0x%s)";

// Values (found when the field is read).
inline constexpr std::string_view kRegistroIncompleto = "el registro %s está incompleto";
inline constexpr std::string_view kValorNoValido = "el registro %s tiene en el campo %s un valor no válido: '%s'";

// Writing into a table that is open.
inline constexpr std::string_view kNoSeAnade = "no se pueden añadir registros a esta tabla: el campo %s es de tipo %s";
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
}  // namespace why

}  // namespace velquior::msg
