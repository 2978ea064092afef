// Identifiers of Ticker.exe's resources, shared by its resource script and
// its code. Its own numbering: the icons overlap Cumulon's numbers.
#ifndef CUMULON_TICKER_IDS_H
#define CUMULON_TICKER_IDS_H

// Icons
#define IDI_TICKER 100
#define IDI_TICKER_SKIP 101
#define IDI_TICKER_EXIT 102
#define IDI_TICKER_MUTE 103
#define IDI_TICKER_HOVER 104

// Dialogs
#define IDD_TICKER_BAR 7100
#define IDD_TICKER_TOOLBAR 7200

// Controls
#define IDC_TICKER_TEXT 7101     // the bar's scroll surface
#define IDC_TICKER_SKIP 7201
#define IDC_TICKER_EXIT 7202
#define IDC_TICKER_COUNTER 7203
#define IDC_TICKER_MUTE 7204
#define IDC_TICKER_LOCATION 7205

// Commands
#define IDC_TICKER_END 5000      // the hidden window ends the program

#endif
