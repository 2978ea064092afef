// The two threads that start Ticker.exe: the auto-alert check behind timer
// 500 of the hidden window, and "Test Ticker" of the alerts page. RuntimeFlags
// bit 0x400 keeps at most one of them running: the starter sets it, on the
// user-interface thread, before calling here, and the thread clears it as its
// very last step on every road. A run waits for the ticker it started to end,
// or for the program's shutdown (StopAutoAlerts).
#ifndef CUMULON_AUTO_ALERTS_H
#define CUMULON_AUTO_ALERTS_H

#include "services/feed_page.h"

#include <windows.h>

#include <string_view>
#include <vector>

// The alert feed of a zone code, for the alerts page and the check alike: the
// "[ALERTS]" "url=" line with the code in its six-character run (a shorter
// code gives no target); -1 without a catalog.
int AlertZoneTarget(std::string_view code, std::vector<FeedTarget>* targets);

// Both copy the alert settings here, on the calling (user-interface) thread,
// so a run uses the settings it started with. They return the thread's
// handle, or null when no thread started (the caller then clears the bit).
//
// The check downloads the feed of every zone marked in the saved lists,
// writes one queue record per alert entry to "ticker.$$$" and, when any was
// written, shows them with the ticker; otherwise it deletes "ticker.$$$". It
// asks the alerts page to redisplay once its downloads are done.
HANDLE StartAutoAlertThread();
// Writes the three records of "test.que" and shows them with the ticker.
HANDLE StartTestTickerThread();

// Shutdown has begun (user-interface thread): a running check polls no
// further zone and its download is aborted, and no ticker starts from now on.
// A ticker already on the screen scrolls on to its end, no longer waited
// for, so the thread ends at once and the program with it.
void StopAutoAlerts();

#endif
