#include "xml/libxml_errors.h"

#include <libxml/globals.h>

#include <string_view>

#include "common/format.h"
#include "common/messages.h"

namespace velquior::xml::detail {
namespace {

void IgnoreGeneric(void*, const char*, ...) {}

// What a translation takes from the error: nothing, the name in str1, or
// also the line in int1 and the second name in str2; the bytes in str1.
enum class Uses { kNothing, kName, kNameLine, kNameLineName, kBytes };

struct Translation {
  int code;
  Uses uses;
  std::string_view text;
  std::string_view without_details;  // when libxml2 left the details out
};

constexpr Translation kTranslations[] = {
    {XML_ERR_DOCUMENT_EMPTY, Uses::kNothing, msg::kXmlFaltaInicio, {}},
    {XML_ERR_DOCUMENT_START, Uses::kNothing, msg::kXmlFaltaInicio, {}},
    {XML_ERR_DOCUMENT_END, Uses::kNothing, msg::kXmlContenidoTrasFinal, {}},
    {XML_ERR_EXTRA_CONTENT, Uses::kNothing, msg::kXmlContenidoTrasFinal, {}},
    {XML_ERR_TAG_NAME_MISMATCH, Uses::kNameLineName, msg::kXmlEtiquetasNoCoinciden, msg::kXmlFaltaCierre},
    {XML_ERR_TAG_NOT_FINISHED, Uses::kNameLine, msg::kXmlEtiquetaSinCerrar, msg::kXmlDocumentoTerminaAntes},
    {XML_ERR_GT_REQUIRED, Uses::kNameLine, msg::kXmlEtiquetaSinFinal, msg::kXmlFaltaMayorQue},
    {XML_ERR_LTSLASH_REQUIRED, Uses::kNothing, msg::kXmlFaltaCierre, {}},
    {XML_ERR_NAME_REQUIRED, Uses::kNothing, msg::kXmlFaltaNombre, {}},
    {XML_ERR_LT_IN_ATTRIBUTE, Uses::kNothing, msg::kXmlMenorEnAtributo, {}},
    {XML_ERR_ATTRIBUTE_NOT_STARTED, Uses::kNothing, msg::kXmlAtributoSinComillas, {}},
    {XML_ERR_ATTRIBUTE_NOT_FINISHED, Uses::kNothing, msg::kXmlAtributoSinCerrar, {}},
    {XML_ERR_ATTRIBUTE_WITHOUT_VALUE, Uses::kName, msg::kXmlAtributoSinValor, {}},
    {XML_ERR_ATTRIBUTE_REDEFINED, Uses::kName, msg::kXmlAtributoRepetido, {}},
    {XML_ERR_INVALID_ENCODING, Uses::kBytes, msg::kXmlNoEsUtf8, msg::kXmlNoEsUtf8SinBytes},
    {XML_I18N_CONV_FAILED, Uses::kBytes, msg::kXmlNoConvertible, msg::kXmlNoEsUtf8SinBytes},
    {XML_ERR_UNSUPPORTED_ENCODING, Uses::kName, msg::kXmlCodificacionDesconocida, {}},
    {XML_ERR_UNKNOWN_ENCODING, Uses::kName, msg::kXmlCodificacionDesconocida, {}},
    {XML_ERR_UNDECLARED_ENTITY, Uses::kName, msg::kXmlEntidadNoDefinida, {}},
    {XML_WAR_UNDECLARED_ENTITY, Uses::kName, msg::kXmlEntidadNoDefinida, {}},
    {XML_ERR_ENTITYREF_SEMICOL_MISSING, Uses::kNothing, msg::kXmlEntidadSinPuntoYComa, {}},
    {XML_ERR_ENTITY_LOOP, Uses::kNothing, msg::kXmlEntidadCircular, {}},
    {XML_ERR_INVALID_HEX_CHARREF, Uses::kNothing, msg::kXmlReferenciaCaracter, {}},
    {XML_ERR_INVALID_DEC_CHARREF, Uses::kNothing, msg::kXmlReferenciaCaracter, {}},
    {XML_ERR_INVALID_CHARREF, Uses::kNothing, msg::kXmlReferenciaCaracter, {}},
    {XML_ERR_COMMENT_NOT_FINISHED, Uses::kNothing, msg::kXmlComentarioSinCerrar, {}},
    {XML_ERR_MISPLACED_CDATA_END, Uses::kNothing, msg::kXmlFinCdataFuera, {}},
};

bool Given(const char* s) { return s != nullptr && *s != '\0'; }

// "Bytes: 0xE9 0x3C\n" or "0x81 0x3C" -> "0xE9 0x3C"; "" when not bytes.
std::string BytesOf(const char* s) {
  if (!Given(s)) return {};
  std::string text = CleanMessage(s);
  if (text.starts_with("Bytes: ")) text.erase(0, 7);
  return text.starts_with("0x") ? text : std::string();
}

std::string Translate(const Translation& t, const xmlError& e) {
  const auto fallback = [&] { return std::string(t.without_details.empty() ? t.text : t.without_details); };
  switch (t.uses) {
    case Uses::kNothing:
      return std::string(t.text);
    case Uses::kName:
      return Given(e.str1) ? Format(t.text, {e.str1}) : CleanMessage(e.message);
    case Uses::kNameLine:
      if (!Given(e.str1) || e.int1 <= 0) return fallback();
      return Format(t.text, {e.str1, std::to_string(e.int1)});
    case Uses::kNameLineName:
      if (!Given(e.str1) || !Given(e.str2) || e.int1 <= 0) return fallback();
      return Format(t.text, {e.str1, std::to_string(e.int1), e.str2});
    case Uses::kBytes: {
      const std::string bytes = BytesOf(e.str1);
      return bytes.empty() ? fallback() : Format(t.text, {bytes});
    }
  }
  return CleanMessage(e.message);
}

}  // namespace

std::string ReasonOf(const xmlError& error) {
  // libxml2 2.9 gives undecodable UTF-8 the code of a forbidden character,
  // telling them apart only by the bytes it quotes.
  if (error.code == XML_ERR_INVALID_CHAR) {
    const std::string bytes = BytesOf(error.str1);
    return bytes.empty() ? std::string(msg::kXmlCaracterNoPermitido) : Format(msg::kXmlNoEsUtf8, {bytes});
  }
  // The code of a missing space also stands for a start tag whose
  // attributes do not parse; only its words tell which.
  if (error.code == XML_ERR_SPACE_REQUIRED && CleanMessage(error.message) == "attributes construct error") {
    return std::string(msg::kXmlAtributosMalEscritos);
  }
  for (const Translation& t : kTranslations) {
    if (t.code == error.code) return Translate(t, error);
  }
  return CleanMessage(error.message);
}

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
