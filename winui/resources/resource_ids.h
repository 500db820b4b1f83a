#pragma once

// Identifiers of the program's resources, shared by the resource script and
// the code that loads them.
#define IDI_KORV 1
