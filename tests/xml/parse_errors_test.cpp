// The parser's common failures reach the user in Spanish, with the names and
// line libxml2 reports; what is not translated keeps libxml2's words.
#include <gtest/gtest.h>

#include <string>

#include "xml/document.h"

namespace velquior::xml {
namespace {

struct Row {
  const char* xml;
  int line;
  const char* reason;
};

const Row kRows[] = {
    {"<a>\n<b></c></a>", 2, "la etiqueta <b> de la línea 2 se cierra con </c>"},
    {"<a>\n<b>\n</a>", 3, "la etiqueta <b> de la línea 2 se cierra con </a>"},
    {"<a></a>\n<b/>", 2, "hay contenido de más tras el final del documento"},
    {"  \n", 2, "no empieza con una etiqueta: no se encuentra '<'"},
    {"<a x=\"<\"/>", 1, "el valor de un atributo contiene '<' sin escapar"},
    {"<a x=1/>", 1, "el valor de un atributo no empieza con comillas"},
    {"<a b=\"x/>", 1, "el valor de un atributo no cierra sus comillas"},
    {"<a x='1' y/>", 1, "el atributo y no tiene valor"},
    {"<a x='1' x='2'/>", 1, "el atributo x aparece dos veces en el mismo elemento"},
    {"<a>\x01</a>", 1, "el documento contiene un carácter no permitido"},
    {"<a>\n\xff\xfe</a>", 2,
     "el texto no es UTF-8 válido (bytes 0xFF 0xFE 0x3C 0x2F): indique su codificación en la "
     "declaración XML"},
    {"<a>&foo;</a>", 1, "la entidad '&foo;' no está definida"},
    {"<a>&amp</a>", 1, "falta ';' al final de una referencia de entidad"},
    {"<a>&#xZ;</a>", 1, "una referencia de carácter no es válida"},
    {"<a>\n<b>", 2, "el documento termina sin cerrar la etiqueta <b> de la línea 2"},
    {"<a></a", 1, "falta '>'"},
    {"<a><b x=\"1\"</b></a>", 1, "los atributos de una etiqueta están mal escritos"},
    {"<a><1/></a>", 1, "falta un nombre válido de elemento o atributo"},
    {"<a>]]></a>", 1, "la secuencia ']]>' no puede ir en el texto"},
    {"<a/><!--", 1, "un comentario no se cierra"},
    {"<?xml version='1.0' encoding='x-klingon'?><a/>", 1, "la codificación x-klingon no está admitida"},
};

TEST(XmlParseErrors, CommonFailuresAreGivenInSpanishWithTheirLine) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.xml);
    Document doc;
    const LoadResult r = doc.loadXml(row.xml);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.line, row.line);
    EXPECT_EQ(r.reason, row.reason);
  }
}

TEST(XmlParseErrors, UntranslatedFailuresKeepLibxmlsWords) {
  Document doc;
  const LoadResult deep = doc.loadXml([] {
    std::string s;
    for (int i = 0; i < 300; ++i) s += "<e>";
    return s;
  }());
  EXPECT_EQ(deep.line, 1);
  EXPECT_EQ(deep.reason, "Excessive depth in document: 256 use XML_PARSE_HUGE option");
  EXPECT_EQ(deep.message("/d/saga.xml"),
            "/d/saga.xml no es un documento XML válido: línea 1: Excessive depth in document: 256 use "
            "XML_PARSE_HUGE option");
}

}  // namespace
}  // namespace velquior::xml
