// The auto-alert check started by timer 500 of the hidden window.
#ifndef CUMULON_AUTO_ALERTS_H
#define CUMULON_AUTO_ALERTS_H

#include <windows.h>

// Thread routine, started with no argument after its starter has set
// RuntimeFlags bit 0x400; it clears that bit on every road by which it ends.
DWORD WINAPI AutoAlertThreadProc(void* unused);

#endif
