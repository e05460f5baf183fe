#include "tests/school_generator.h"

#include <array>
#include <string_view>

#include "text/encoding.h"

namespace velquior::testing {
namespace {

// UTF-8 word lists.
constexpr std::array<std::string_view, 16> kSubjectWords = {"Matemáticas",
                                                            "Lengua Castellana",
                                                            "Inglés",
                                                            "Física y Química",
                                                            "Biología",
                                                            "Geografía e Historia",
                                                            "Educación Física",
                                                            "Música",
                                                            "Tecnología",
                                                            "Francés",
                                                            "Latín",
                                                            "Filosofía",
                                                            "Economía",
                                                            "Dibujo Técnico",
                                                            "Química",
                                                            "Ciencias de la naturaleza"};
constexpr std::array<std::string_view, 16> kFirstNames = {"María", "José",   "Juan",  "Ana",    "Francisco", "Lucía",
                                                          "Ángel", "Begoña", "Íñigo", "Carmen", "Antonio",   "Pilar",
                                                          "Jesús", "Rocío",  "Sofía", "Raúl"};
constexpr std::array<std::string_view, 16> kSurnames = {
    "Pérez", "López", "Núñez",   "Peña",    "Muñoz",   "Ibáñez",    "García", "Martín",
    "Gómez", "Díaz",  "Sánchez", "Castaño", "Álvarez", "Domínguez", "Ortega", "Vázquez"};
constexpr std::array<std::string_view, 8> kRoomWords = {"Aula",       "Laboratorio",        "Taller",
                                                        "Gimnasio",   "Sala de Profesores", "Aula de Música",
                                                        "Biblioteca", "Salón de Actos"};
constexpr std::array<std::string_view, 4> kLevels = {"ESO", "BACH", "FPB", "PRIMARIA"};

std::string N(long v) { return std::to_string(v); }

}  // namespace

std::string GenerateSchool(const SchoolSize& s, XmlEncoding encoding) {
  std::string x;
  x.reserve(static_cast<std::size_t>(s.groups) * s.subjects_per_group * 160 + (1u << 20));
  x += encoding == XmlEncoding::kUtf8 ? "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                      : "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";
  x += "<document>\n  <subjects>\n";
  for (int i = 0; i < s.subjects; ++i) {
    x += "    <subject id=\"S" + N(i) + "\" name=\"";
    x += kSubjectWords[i % kSubjectWords.size()];
    x += " " + N(i / static_cast<int>(kSubjectWords.size()) + 1) + "\"";
    if (i % 5 != 4) x += " hours=\"" + std::string(i % 7 == 3 ? "2.5" : N(1 + i % 5)) + "\"";
    x += "/>\n";
  }
  x += "  </subjects>\n  <teachers>\n";
  for (int i = 0; i < s.teachers; ++i) {
    x += "    <teacher id=\"T" + N(i) + "\">";
    x += kFirstNames[i % 16];
    x += " ";
    x += kSurnames[(i / 16) % 16];
    x += " ";
    x += kSurnames[(i / 256) % 16];
    x += "</teacher>\n";
  }
  x += "  </teachers>\n  <locations>\n";
  for (int i = 0; i < s.rooms; ++i) {
    x += "    <location id=\"L" + N(i) + "\">";
    x += kRoomWords[i % kRoomWords.size()];
    x += " " + N(i + 1) + "</location>\n";
  }
  x += "  </locations>\n  <groups>\n";
  for (int g = 0; g < s.groups; ++g) {
    std::string_view level = kLevels[g % kLevels.size()];
    std::string name = std::string(level) + " " + N(1 + g % 4) + static_cast<char>('A' + (g / 4) % 26);
    x += "    <group id=\"G" + N(g) + "\" regim=\"" + (g % 3 ? "D" : "N") + "\" name=\"" + name + "\">" + "Grupo " +
         name + " número " + N(g) + "\n      <assigned-subjects>\n";
    for (int k = 0; k < s.subjects_per_group; ++k) {
      long subject = (static_cast<long>(g) * 7 + k * 13) % s.subjects;
      long teacher = (static_cast<long>(g) * 11 + k * 3) % s.teachers;
      x += "        <assigned-subject id=\"S" + N(subject) + "\">\n          <assigned-teachers>\n";
      x += "            <assigned-teacher id=\"T" + N(teacher) + "\"/>\n";
      if (k % 6 == 0) x += "            <assigned-teacher id=\"T" + N((teacher + 1) % s.teachers) + "\"/>\n";
      x += "          </assigned-teachers>\n        </assigned-subject>\n";
    }
    x += "      </assigned-subjects>\n    </group>\n";
  }
  x += "  </groups>\n</document>\n";
  // Every character used is in Latin-1, so the Windows-1252 bytes are its
  // ISO-8859-1 bytes.
  return encoding == XmlEncoding::kUtf8 ? x : text::Utf8ToAnsi(x);
}

}  // namespace velquior::testing
