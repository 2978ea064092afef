#include "ticker/ticker_queue.h"

#include "services/text_buffer.h"
#include "services/text_scan.h"

#include <algorithm>
#include <utility>

namespace {

// The line starting at `*at`, its LF included, as the text it holds: it ends
// at its first NUL byte. Moves `*at` past the LF. False when no line is left.
bool NextQueueLine(std::string_view text, size_t* at, std::string_view* line) {
    std::string_view rest = text.substr(std::min(*at, text.size()));
    if (!NextLine(&rest, line))
        return false;
    *at = text.size() - rest.size();
    *line = UpToFirstNul(*line);
    return true;
}

// A blank line is no record: exactly a line end on its own.
bool IsBlank(std::string_view line) {
    return line == "\r\n" || line == "\r" || line == "\n";
}

} // namespace

int CountTickerRecords(std::string_view text) {
    int count = 0;
    size_t at = 0;
    std::string_view line;
    while (NextQueueLine(text, &at, &line))
        count += IsBlank(line) ? 0 : 1;
    return count;
}

void OpenTickerQueue(TickerQueue* queue, std::string text) {
    queue->Text = std::move(text);
    queue->Next = 0;
    queue->RecordCount = CountTickerRecords(queue->Text);
    queue->CurrentRecord = 0;
    queue->Loops = false;
    queue->Sound[0] = '\0';
    queue->Location[0] = '\0';
    queue->Message = {};
}

bool NextTickerRecord(TickerQueue* queue) {
    std::string_view line;
    do {
        if (!NextQueueLine(queue->Text, &queue->Next, &line))
            return false;
    } while (IsBlank(line));
    line = CutAtLineEnd(line);

    constexpr auto npos = std::string_view::npos;
    size_t first = line.find(kTickerSeparator);
    size_t second = first == npos ? npos : line.find(kTickerSeparator, first + 1);
    size_t third = second == npos ? npos : line.find(kTickerSeparator, second + 1);
    queue->Sound[0] = '\0';
    if (third == npos) {
        queue->Message = line;
    } else {
        std::string_view loop = line.substr(0, first);
        std::string_view sound = line.substr(first + 1, second - first - 1);
        std::string_view location = line.substr(second + 1, third - second - 1);
        if (!loop.empty())
            queue->Loops = loop == "1";
        if (sound.size() < kTickerPathSize)
            CopyText(queue->Sound, sound);
        if (!location.empty())
            CopyText(queue->Location, location);
        queue->Message = line.substr(third + 1);
    }
    ++queue->CurrentRecord;
    return true;
}

void FormatTickerCounter(char (&text)[kTickerCounterSize], int current, int total) {
    FormatText(text, sizeof text, "%i/%i", current, total);
}
