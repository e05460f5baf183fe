#pragma once
// Reference sequences of code derivation, shared by the pure code tests and
// the builder tests: names in document order (after trimming), with the base
// code and the final code each gets. UTF-8.

#include <vector>

namespace velquior::testing {

struct NamedCode {
  const char* name;
  const char* base;
  const char* code;
};

inline const std::vector<NamedCode> kSubjectExample = {
    {"Lengua Castellana y Literatura", "LCL", "LCL"},
    {"Educación Física", "EF", "EF"},
    {"Matemáticas", "Matemá", "Matemá"},
    {"Ciencias de la naturaleza", "Cdln", "Cdln"},
    {"inglés", "inglés", "inglés"},
    {"2º Idioma", "2I", "2I"},
    {"Ética", "Ética", "Ética"},
    {"ÁLGEBRA", "ÁLGEBRA", "ÁLGEBRA"},
    {"Lengua Cooficial y Literatura", "LCL", "LCL1"},
    {"Matemáticas", "Matemá", "Matemá1"},
    {"Inglés 1", "I1", "I1"},
    {"Inglés 1", "I1", "I2"},
    {"Inglés 2", "I2", "I3"},
    {"Ajedrez", "Ajedre", "Ajedre"},
    {"ajedrez", "ajedre", "ajedre"},
};

inline const std::vector<NamedCode> kTeacherExample = {
    {"Juan Pérez López", "JPL", "JPL"},
    {"JUAN PEREZ LOPEZ", "JPL", "JPL1"},
    {"juan pérez lópez", "jpl", "jpl2"},
    {"Pedro", "P", "P"},
    {"Pablo", "P", "P1"},
    {"Ana  María Ruiz", "A MR", "A MR"},
    {"María de los Ángeles de la Cruz y de la Torre", "MdlÁdlCydl", "MdlÁdlCydl"},
    {"", "", ""},
    {"", "", "1"},
};

inline const std::vector<NamedCode> kRoomExample = {
    {"Aula 1", "A1", "A1"},
    {"Aula 2", "A2", "A2"},
    {"Aula 10", "A1", "A3"},
    {"aula 11", "a1", "a4"},
    {"Laboratorio", "Labora", "Labora"},
    {"Laboratorios", "Labora", "Labor1"},
    {"Taller", "Taller", "Taller"},
    {"Sala de Profesores", "SdP", "SdP"},
    {"B", "B", "B"},
    {"B", "B", "1"},
    {"", "", ""},
    {"", "", "2"},
};

inline const std::vector<NamedCode> kGroupExample = {
    {"ESO 1A", "ESO1A", "ESO1A"},
    {"ESO 1B", "ESO1B", "ESO1B"},
    {"ESO 1A", "ESO1A", "ESO1A1"},
    {"eso 1a", "eso1a", "eso1a2"},
    {"BACH 2C", "BACH2C", "BACH2C"},
    {"PRIMARIA 3B", "PRIMAR", "PRIMAR"},
    {"PRIMARIA 3C", "PRIMAR", "PRIMAR1"},
    {"4 ESO", "4SO", "4SO"},
    {"1ESOA", "1OA", "1OA"},
    {"AB", "AAB", "AAB"},
    {"A", "AAA", "AAA"},
    {"", "", ""},
    {"1º ESO A", "1º A", "1º A"},
};

}  // namespace velquior::testing
