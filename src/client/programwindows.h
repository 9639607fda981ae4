#pragma once
// The secondary windows as the program makes them: each one the first time it is needed, owned
// by the main window, and the game start, help and about windows on the main window's tiled
// background.

#include "tchat.h"

Tchat::Windows programWindows(Tchat& chat, Ttallylist* tally);
