#pragma once

#include <QIcon>

// The 18 x 18 green check mark of an OK button, with its greyed twin for
// the disabled state.
[[nodiscard]] QIcon CheckGlyph();
