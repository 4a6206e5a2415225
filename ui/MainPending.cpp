// Commands of the window whose behaviour comes with later parts of the program: each is wired to
// its menu item, control or start-up step already and routes here, one line each.
#include "ui/Main.h"
#include "ui/NotBuilt.h"

