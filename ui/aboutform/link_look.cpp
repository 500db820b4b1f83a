#include "aboutform/link_look.h"

#include <QFont>
#include <QLabel>
#include <QPalette>

void SetLinkLook(QLabel* label, LinkLook look) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText,
                     look == LinkLook::kLit ? QColor(255, 0, 0) : QColor(0, 0, 255));
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(false);
    font.setItalic(false);
    font.setStrikeOut(false);
    font.setUnderline(look == LinkLook::kLit);
    label->setFont(font);
}
