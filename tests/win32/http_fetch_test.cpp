// The downloader under Wine against the scripted local server
// (http_test_server.py, its ports in CUMULON_TEST_HTTP_PORT and its kin):
// the cache file and its time after each way a transfer ends, over HTTP and
// HTTPS, redirects, Stop, and the socket start-ups.
#include "services/http_fetch.h"
#include "services/http_request.h"
#include "services/time_format.h"

#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// Limits for transfers that should end at once: a fault shows in seconds.
constexpr WatchdogLimits kQuick{5000, 100};

std::string Port(const char* name = "CUMULON_TEST_HTTP_PORT") {
    const char* port = std::getenv(name);
    return port ? port : "";
}

std::string Url(const std::string& path) {
    return "http://127.0.0.1:" + Port() + path;
}
// The TLS server whose authority the test prefix trusts, or (`port`) one of
// the two it must refuse.
std::string Https(const std::string& path, const char* port = "CUMULON_TEST_HTTPS_PORT") {
    return "https://127.0.0.1:" + Port(port) + path;
}

using Scheme = std::string (*)(const std::string&);
const Scheme kSchemes[] = {Url, [](const std::string& path) { return Https(path); }};

// The server's test pattern.
std::string Pattern(size_t size) {
    std::string text(size, '\0');
    for (size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>((i * 7 + 3) % 256);
    return text;
}

// The whole content of a file, "(none)" when it cannot be opened.
std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "(none)";
}

// File times (100 ns since 1601, UTC): Wed 7 Aug 2013 13:40:32 and Thu 8 Aug 2013 01:02:03.
constexpr uint64_t kOldTime = 130203564320000000, kServerTime = 130203973230000000;
const std::string kServerTimeQuery = "lm=Thu,%2008%20Aug%202013%2001:02:03%20GMT";

uint64_t FromFileTime(FILETIME time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Writes a file and, when given, its last-write time.
void MakeFile(const std::string& path, const std::string& text, uint64_t written = 0) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD done = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
    FILETIME w = {static_cast<DWORD>(written), static_cast<DWORD>(written >> 32)};
    if (written)
        SetFileTime(file, nullptr, nullptr, &w);
    CloseHandle(file);
}

// The last-write time of a file, or its creation time.
uint64_t FileTime(const std::string& path, bool creation = false) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
    FILETIME c{}, w{};
    GetFileTime(file, &c, nullptr, &w);
    CloseHandle(file);
    return FromFileTime(creation ? c : w);
}

uint64_t Now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return FromFileTime(now);
}

using Names = std::vector<std::string>;

class HttpFetchTest : public ::testing::Test {
  protected:
    std::string folder_;
    long startups_ = 0;

    void SetUp() override {
        ASSERT_FALSE(Port().empty()) << "start this program through http-test-server.sh run";
        ASSERT_FALSE(Port("CUMULON_TEST_HTTPS_PORT").empty()) << "the test server answers no TLS";
        char current[MAX_PATH];
        GetCurrentDirectoryA(sizeof current, current);
        folder_ = std::string(current) + "\\http-fetch-" + std::to_string(GetCurrentProcessId());
        RemoveFolder();
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        startups_ = TotalSocketStartups();
    }

    void TearDown() override {
        // (No WSACleanup here to check the library's own count: WinHTTP holds
        // a start-up of its own for the rest of the process.)
        EXPECT_EQ(OutstandingSocketStartups(), 0);
        RemoveFolder();
    }

    void RemoveFolder() {
        for (const std::string& name : Files())
            DeleteFileA(Path(name).c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    std::string Path(const std::string& name) const { return folder_ + "\\" + name; }

    // The names of the files in the work folder: no temporary file may stay.
    Names Files() const {
        Names names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder_ + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..")
                names.push_back(name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

    long StartupsSinceSetUp() const { return TotalSocketStartups() - startups_; }

    static std::unique_ptr<FetchRequest> Request(const std::string& url,
                                                 const std::string& cachePath, bool conditional) {
        auto request = std::make_unique<FetchRequest>();
        InitFetchRequest(request.get());
        SetFetchTarget(request.get(), url, cachePath, conditional);
        return request;
    }

    int Fetch(const std::string& url, const std::string& cacheName, bool conditional = false,
              WatchdogLimits limits = kQuick) {
        auto request = Request(url, cacheName.empty() ? "" : Path(cacheName), conditional);
        return HttpFetch(request.get(), limits);
    }

    // One fetch over the cache file "old": its result, the cache file after it
    // (no temporary file left), and how long it took.
    void ExpectEnd(const std::string& url, WatchdogLimits limits, int result,
                   const std::string& content, DWORD least, DWORD most) {
        MakeFile(Path("feed.xml"), "old");
        DWORD start = GetTickCount();
        EXPECT_EQ(Fetch(url, "feed.xml", false, limits), result) << url;
        DWORD elapsed = GetTickCount() - start;
        EXPECT_GE(elapsed, least) << url;
        EXPECT_LT(elapsed, most) << url;
        EXPECT_EQ(Content(Path("feed.xml")), content) << url;
        EXPECT_EQ(Files(), Names{"feed.xml"}) << url;
    }
};

TEST_F(HttpFetchTest, EachBodyReplacesTheCacheFileWhole) {
    const struct {
        std::string url, content;
    } cases[] = {
        {Url("/plain?size=5000"), Pattern(5000)},
        {Url("/chunked?size=3000&chunk=700"), Pattern(3000)},
        {Url("/early-close"), "0123456789"}, // what arrived
        {Url("/no-content"), ""},            // 204: no data, rather than old data
        {Https("/plain?size=70000"), Pattern(70000)},
        {Https("/chunked?size=3000&chunk=700"), Pattern(3000)},
        {Https("/no-content"), ""},
    };
    for (const auto& c : cases) {
        MakeFile(Path("feed.xml"), "an older, longer cache file " + std::string(9000, 'o'));
        EXPECT_EQ(Fetch(c.url, "feed.xml"), 0) << c.url;
        EXPECT_EQ(Content(Path("feed.xml")), c.content) << c.url;
        EXPECT_EQ(Files(), Names{"feed.xml"}) << c.url;
    }
    EXPECT_EQ(StartupsSinceSetUp(), 4); // the socket library, for http only
}

// A reader holds the cache file open: the new body cannot take its place, and
// the fetch does not report a success it did not have.
TEST_F(HttpFetchTest, ACacheFileThatCannotBeReplacedIsLeftWhole) {
    MakeFile(Path("feed.xml"), "old content");
    HANDLE reader = CreateFileA(Path("feed.xml").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(Fetch(Url("/plain?size=5000"), "feed.xml"), -1);
    CloseHandle(reader);
    EXPECT_EQ(Content(Path("feed.xml")), "old content");
    EXPECT_EQ(Files(), Names{"feed.xml"});
}

// A page's update and an auto-alert check of one zone at once: each fetch
// has temporary files of its own, both succeed, the cache file is whole.
TEST_F(HttpFetchTest, TwoFetchesOfOneCacheFileAtOnceBothSucceed) {
    for (Scheme second : kSchemes) {
        MakeFile(Path("feed.xml"), "old");
        std::atomic<int> results[2] = {1, 1};
        std::thread other([&] { results[1] = Fetch(second("/slow?pieces=6&gap=80"), "feed.xml"); });
        results[0] = Fetch(Url("/slow?pieces=6&gap=80"), "feed.xml");
        other.join();
        EXPECT_EQ(results[0], 0);
        EXPECT_EQ(results[1], 0) << second("");
        EXPECT_EQ(Content(Path("feed.xml")), Pattern(6));
        EXPECT_EQ(Files(), Names{"feed.xml"});
    }
}

// A failed status leaves the cache file as it was: an error page's
// Last-Modified is its own. Only a conditional fetch takes Last-Modified.
TEST_F(HttpFetchTest, TheCacheFileAndItsTimeAfterEachKindOfAnswer) {
    const std::string lm = "?" + kServerTimeQuery, andLm = "&" + kServerTimeQuery;
    const uint64_t kDownloadTime = 1;
    const struct {
        std::string path;
        bool cached, conditional;
        int result; // 0 only when the cache file was replaced or confirmed
        std::string content;
        uint64_t time;
    } cases[] = {
        {"/status?code=404", true, false, -1, "old content", kOldTime},
        {"/no-ok", true, false, -1, "old content", kOldTime},
        {"/status?code=404" + andLm, true, true, -1, "old content", kOldTime},
        {"/no-ok", false, false, -1, "(none)", 0},
        {"/conditional" + lm, true, true, 0, "old content", kServerTime}, // 304 Not Modified
        {"/conditional", true, true, 0, "old content", kOldTime},
        // If-Modified-Since only for a conditional fetch over a cache file.
        {"/conditional", false, true, 0, "conditional body", 0},
        {"/conditional", true, false, 0, "conditional body", 0},
        {"/last-modified" + lm, false, true, 0, "fresh body", kServerTime},
        {"/plain?size=10", true, true, 0, Pattern(10), kOldTime},
        {"/last-modified" + lm, true, false, 0, "fresh body", kDownloadTime},
    };
    for (Scheme scheme : kSchemes)
        for (const auto& c : cases) {
            std::string url = scheme(c.path);
            DeleteFileA(Path("feed.xml").c_str());
            if (c.cached)
                MakeFile(Path("feed.xml"), "old content", kOldTime);
            uint64_t before = Now();
            EXPECT_EQ(Fetch(url, "feed.xml", c.conditional), c.result) << url;
            EXPECT_EQ(Content(Path("feed.xml")), c.content) << url;
            EXPECT_EQ(Files(), c.content == "(none)" ? Names{} : Names{"feed.xml"}) << url;
            if (c.time == kDownloadTime) {
                EXPECT_GE(FileTime(Path("feed.xml")) + 2 * kTicksPerSecond, before) << url;
            } else if (c.time) {
                EXPECT_EQ(FileTime(Path("feed.xml")), c.time) << url;
            }
        }
}

// Redirects are followed on both paths, up to five hops, from http on to
// https but never back down; a certificate that is not trusted, or that names
// another host, is refused. Every refusal leaves the cache file as it was.
TEST_F(HttpFetchTest, RedirectsAndCertificates) {
    const struct {
        std::string url;
        int result;
    } cases[] = {
        {Url("/hop?left=1&to=plain"), 0},
        {Url("/hop?left=2&to=tls"), 0},
        {Https("/hop?left=1&to=tls&code=301"), 0},
        {Https("/hop?left=1&to=plain"), -1},
        {Url("/hop?left=5&to=plain&code=307"), 0},
        {Url("/hop?left=6&to=plain"), -1},
        {Https("/hop?left=5&to=tls&code=303"), 0},
        {Https("/hop?left=6&to=tls"), -1},
        {Url("/hop?left=1&to=plain&rel=1&code=308"), 0},
        {Https("/hop?left=2&to=tls&rel=1&code=308"), 0},
        {Url("/hop?left=1&to=plain&code=300"), -1}, // not a redirect the downloader follows
        {Url("/status?code=301"), -1},              // no Location
        {Https("/plain?size=10", "CUMULON_TEST_WRONG_NAME_PORT"), -1},
        {Https("/plain?size=10", "CUMULON_TEST_UNKNOWN_CA_PORT"), -1},
        {"https://no-such-host.invalid/feed.xml", -1},
    };
    for (const auto& c : cases) {
        MakeFile(Path("feed.xml"), "old", kOldTime);
        EXPECT_EQ(Fetch(c.url, "feed.xml"), c.result) << c.url;
        EXPECT_EQ(Content(Path("feed.xml")), c.result == 0 ? "arrived" : "old") << c.url;
        if (c.result != 0) {
            EXPECT_EQ(FileTime(Path("feed.xml")), kOldTime) << c.url;
        }
        EXPECT_EQ(Files(), Names{"feed.xml"}) << c.url;
    }
}

// The request carries the program's name and the cache file's time (when it
// is sent at all: see the "/conditional" rows above), over both paths.
TEST_F(HttpFetchTest, TheRequestNamesTheProgramAndTheCacheFilesTime) {
    for (Scheme scheme : kSchemes) {
        MakeFile(Path("feed.xml"), "old", kOldTime);
        EXPECT_EQ(Fetch(scheme("/plain?size=3&tag=with"), "feed.xml", true), 0);
        EXPECT_EQ(Fetch(Url("/log?tag=with"), "log.txt"), 0);
        std::string sent = Content(Path("log.txt"));
        for (const char* line :
             {"GET /plain?size=3&tag=with HTTP/1.1\r\n",
              "\r\nUser-Agent: Cumulon/3.0.7.143 (+https://quillmoor.example)\r\n",
              "\r\nAccept: application/atom+xml, ",
              "\r\nIf-Modified-Since: Wed, 07 Aug 2013 13:40:32 GMT\r\n"})
            EXPECT_NE(sent.find(line), std::string::npos) << scheme("") << line << sent;
    }
}

TEST_F(HttpFetchTest, EachWayATransferEndsAndHowLongItTakes) {
    const struct {
        std::string url;
        WatchdogLimits limits;
        int result;
        std::string content;
        DWORD least, most;
    } cases[] = {
        {"http://no-such-host.invalid/feed.xml", kQuick, -1, "old", 0, 5000},
        {"http://127.0.0.1:1/plain", kQuick, -1, "old", 0, 3000}, // nothing listens
        {"https://127.0.0.1:1/plain", kQuick, -1, "old", 0, 3000},
        // The watchdog ends a silent transfer on both paths.
        {Url("/stall?after=10&for=30"), {1500, 100}, -1, "old", 1400, 4000},
        {Https("/stall?after=10&for=30"), {1500, 100}, -1, "old", 1400, 4000},
        // Eight bytes 250 ms apart: never 700 ms of silence.
        {Url("/slow?pieces=8&gap=250"), {700, 50}, 0, Pattern(8), 1500, 6000},
        // The real limits: a fetch that ends does not wait out a check interval.
        {Url("/plain?size=10"), {}, 0, Pattern(10), 0, 800},
    };
    for (const auto& c : cases)
        ExpectEnd(c.url, c.limits, c.result, c.content, c.least, c.most);
    EXPECT_EQ(StartupsSinceSetUp(), 5);
}

TEST_F(HttpFetchTest, StopDuringATransferFailsAndKeepsTheOldCacheFile) {
    for (Scheme scheme : kSchemes) {
        MakeFile(Path("feed.xml"), "old content");
        FetchRequest* slot = nullptr;
        // The server stays silent for 10 s whatever the client does: only Stop
        // can end the receive sooner.
        auto request = Request(scheme("/stall?after=3000&deaf=1&for=10"), Path("feed.xml"), false);
        std::atomic<int> result{1};
        std::atomic<DWORD> ended{0};
        std::thread worker([&] {
            PublishFetch(&slot, request.get());
            result = HttpFetch(request.get(), WatchdogLimits{}); // the real 60 s watchdog
            RetireFetch(&slot);
            ended = GetTickCount();
        });
        // Wait until the transfer is under way: a temporary file has data.
        auto arrived = [&] {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            for (const std::string& name : Files())
                if (name != "feed.xml" &&
                    GetFileAttributesExA(Path(name).c_str(), GetFileExInfoStandard, &data) &&
                    data.nFileSizeLow > 0)
                    return true;
            return false;
        };
        for (DWORD start = GetTickCount(); !arrived() && GetTickCount() - start < 5000;)
            Sleep(10);
        EXPECT_TRUE(arrived()) << scheme("");
        DWORD stopped = GetTickCount();
        StopFetch(&slot);
        worker.join();
        EXPECT_EQ(result, -1);
        EXPECT_LT(ended - stopped, 1500u) << scheme("");
        EXPECT_EQ(slot, nullptr);
        EXPECT_EQ(Content(Path("feed.xml")), "old content");
        EXPECT_EQ(Files(), Names{"feed.xml"});
    }
}

// Every fetch ends with 0 or -1 and leaves nothing behind.
TEST_F(HttpFetchTest, StopPressedAtAnyMomentNeverMeetsAReleasedRequest) {
    FetchRequest* slot = nullptr;
    std::atomic<bool> done{false};
    std::atomic<int> stopped{0}, completed{0};
    std::thread worker([&] {
        for (int i = 0; i < 60; ++i) {
            auto request = Request(Url("/plain?size=2000"), Path("feed.xml"), false);
            PublishFetch(&slot, request.get());
            int result = HttpFetch(request.get(), kQuick);
            RetireFetch(&slot);
            request.reset();
            (result == 0 ? completed : stopped)++;
        }
        done = true;
    });
    while (!done) {
        StopFetch(&slot);
        Sleep(1);
    }
    worker.join();
    EXPECT_EQ(stopped + completed, 60);
    EXPECT_GT(stopped, 0);
    Names files = Files();
    EXPECT_LE(files.size(), 1u); // the cache file, if one fetch completed
    if (!files.empty()) {
        EXPECT_EQ(Content(Path("feed.xml")), Pattern(2000));
    }
}

TEST_F(HttpFetchTest, DecodeCharacterReferencesKeepsTheFileTimes) {
    MakeFile(Path("river.xml"), "a &#x3C;b&#x3E; &#x26;#x3C;", kOldTime);
    uint64_t created = FileTime(Path("river.xml"), true);
    auto request = Request("", Path("river.xml"), false);
    EXPECT_EQ(DecodeCharacterReferences(request.get()), 0);
    EXPECT_EQ(Content(Path("river.xml")), "a <b> &#x3C;");
    EXPECT_EQ(FileTime(Path("river.xml"), true), created);
    EXPECT_EQ(FileTime(Path("river.xml")), kOldTime);
    EXPECT_EQ(Files(), Names{"river.xml"});
    auto missing = Request("", Path("missing.xml"), false);
    EXPECT_EQ(DecodeCharacterReferences(missing.get()), -1);
    EXPECT_EQ(Files(), Names{"river.xml"});
}

// The real watchdog: about a minute, so a test entry of its own.
TEST_F(HttpFetchTest, RealWatchdogGivesUpAfterSixtySecondsOfSilence) {
    ExpectEnd(Url("/stall?after=10&for=120"), WatchdogLimits{}, -1, "old", 59500, 63000);
}

} // namespace
