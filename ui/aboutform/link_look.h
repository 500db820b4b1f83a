#pragma once

class QLabel;

// The two looks of a link label: blue with no font style, and red and
// underlined while the mouse is over it.
enum class LinkLook { kPlain, kLit };

// Sets the label's font colour, then its font style.
void SetLinkLook(QLabel* label, LinkLook look);
