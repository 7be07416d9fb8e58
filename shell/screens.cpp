// Screens the launcher can open. Each calculator's screen file defines its
// own procedure; those listed here are not part of the program yet.
#include "shell/screens.h"

