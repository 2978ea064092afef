#include "pages/alerts/auto_alerts.h"

#include "services/shared_state.h"

// The polling of the marked zones arrives with the alerts page; until then a
// check has nothing to poll and ends at once, releasing the hand-shake bit.
DWORD WINAPI AutoAlertThreadProc(void*) {
    ClearRuntimeFlag(kAutoAlertRunning);
    return 0;
}
