// Reading a ticker queue: one record per line, four fields separated by the
// byte 0xBB (loop flag, sound path, location name, message; the message runs
// to the end of the line). A line runs to its LF and is cut at its first CR or
// LF (and at a NUL byte). A blank line ("\r\n", "\r" or "\n" exactly) is
// skipped and not counted; any other line is a record, even one cut to
// nothing. A line with fewer than three separators is a message on its own,
// with no sound.
#ifndef CUMULON_TICKER_QUEUE_H
#define CUMULON_TICKER_QUEUE_H

#include "ticker/ticker_options.h"

#include <string>
#include <string_view>

constexpr char kTickerSeparator = '\xBB';
constexpr size_t kTickerLocationSize = 1024; // at most 1023 characters
constexpr size_t kTickerCounterSize = 16;    // "current/total"

// The queue being shown and what carries over from one record to the next.
// Message points into Text, so the record is never copied.
struct TickerQueue {
    std::string Text;                   // the whole file
    size_t Next;                        // where the next line starts
    int RecordCount;                    // lines that are not blank
    int CurrentRecord;                  // 1-based; 0 before the first record
    bool Loops;                         // an empty loop field keeps the previous setting
    char Sound[kTickerPathSize];        // this record's sound; empty: none
    char Location[kTickerLocationSize]; // an empty field keeps the previous name
    std::string_view Message;
};

// Starts reading `text`, the whole queue file, and counts its records.
void OpenTickerQueue(TickerQueue* queue, std::string text);

// Loads the next record; false at the end of the queue. A loop field counts
// only when it is not empty ("1" loops, anything else does not); a sound path
// longer than 259 characters is no sound (a cut path would name another file);
// a location is cut at 1023 characters.
bool NextTickerRecord(TickerQueue* queue);

int CountTickerRecords(std::string_view text);

// "current/total", cut to fit its buffer.
void FormatTickerCounter(char (&text)[kTickerCounterSize], int current, int total);

#endif
