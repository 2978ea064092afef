// Every value the program reads from the settings key at start-up and writes
// back at exit: the global settings and each page's settings, described once by
// one table and walked by one loop. Window positions and fonts are not here:
// they are written the moment they change (services/registry.h).
#ifndef CUMULON_SETTINGS_STORE_H
#define CUMULON_SETTINGS_STORE_H

#include "services/registry.h"

// Puts every value of the table back to its initial value.
void ResetAllSettings();
// Initial values first, then whatever the registry holds (the key opened once).
// A value that is missing, of another type or of another size keeps its
// initial value.
void ReadAllSettings();
// Writes every value (the key created or opened once).
void WriteAllSettings();

#endif
