// The hidden window's timers in a build whose periods are seconds (first
// check and retries after 1.5 s, then every 5 s); the ticker stand-in's files
// tell when each check started its ticker.
#include "tests/e2e/cumulon_fixture.h"

namespace {

// Milliseconds on the clock that stamps files.
int64_t Milliseconds(const FILETIME& time) {
    return ((static_cast<int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000;
}
int64_t Now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return Milliseconds(now);
}

class Timers : public CumulonTest {
  protected:
    void SetUp() override {
        CumulonTest::SetUp();
        UseSampleCatalog();
        ASSERT_TRUE(CopyFileA(TestProgram("CumulonFastTimers.exe").c_str(), Exe().c_str(), FALSE));
        ASSERT_TRUE(SeedListFile(ListFile("ALERTS", {"1»KYZ030»KYZ030 Jefferson County"})));
        StartOnTab(kAlertsTab);
    }
    // When run `run` of the stand-in started or (`extension` ".end") ended; 0
    // when it has not within `timeoutMs`.
    int64_t At(int run, DWORD timeoutMs, const char* extension = ".txt") {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        WaitUntil([&] { return FileExists(RunFile(run, extension)); }, timeoutMs);
        return GetFileAttributesExA(RunFile(run, extension).c_str(), GetFileExInfoStandard, &data)
                   ? Milliseconds(data.ftLastWriteTime)
                   : 0;
    }
};

TEST_F(Timers, ChecksRunAfterTheFirstDelayRetryWhileBusyAndThenKeepThePeriod) {
    UseTickerStandIn(6000); // the first check keeps its ticker past the period
    EXPECT_FALSE(TrayMenu(kTrayAutoAlerts));
    const int64_t on = Now(), first = At(1, 10000);
    ASSERT_NE(first, 0);
    EXPECT_GE(first - on, 1200);
    EXPECT_LE(first - on, 4000);
    ASSERT_TRUE(WriteTextFile(folder_ + "\\stand-in-busy-ms.txt", "0"));

    // The check due 5 s after the first finds it busy and retries every
    // 1.5 s: the second starts soon after the first ended, not 5 s later.
    const int64_t second = At(2, 15000), firstEnded = At(1, 0, ".end");
    ASSERT_TRUE(second && firstEnded);
    EXPECT_GE(second, firstEnded);
    EXPECT_LE(second - firstEnded, 2800);
    const int64_t third = At(3, 10000);
    ASSERT_NE(third, 0);
    EXPECT_GE(third - second, 4000);
    EXPECT_LE(third - second, 6500);

    EXPECT_TRUE(TrayMenu(kTrayAutoAlerts)); // checked; the click switches it off
    EXPECT_FALSE(TrayMenu(kTrayNone));
    Sleep(static_cast<DWORD>(std::max<int64_t>(0, third + 7000 - Now())));
    EXPECT_FALSE(FileExists(RunFile(4)));
}

} // namespace
