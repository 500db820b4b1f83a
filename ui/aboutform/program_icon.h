#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// The program's icon: a hand carrying a tray of papers, 32 x 32 pixels in
// the sixteen colours of the classic palette, drawn in code.
[[nodiscard]] QImage ProgramIconImage();
[[nodiscard]] QPixmap ProgramIconPixmap();
[[nodiscard]] QIcon ProgramIcon();
