#pragma once
// The buttons' glyphs, drawn here: a green check mark (a grey outline of it
// when disabled) and an open door.

#include <QIcon>

namespace velquior::app {

inline constexpr int kGlyphSize = 16;

QIcon CheckMarkIcon();  // Normal: green mark; Disabled: grey outline
QIcon OpenDoorIcon();

}  // namespace velquior::app
