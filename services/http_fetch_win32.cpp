// The downloader's Windows side: the hops of a fetch (redirects), the WinSock
// 2.2 client for http:// with its receive loop into a temporary file, the
// watchdog thread, the cache file and its times. https:// goes through
// WinHTTP (http_secure_win32.cpp).
#include "services/http_fetch.h"

#include "services/http_character_references.h"
#include "services/http_date.h"
#include "services/http_redirect.h"
#include "services/http_request.h"
#include "services/http_response.h"
#include "services/http_transfer_win32.h"
#include "services/text_buffer.h"

#include <winsock2.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

static_assert(sizeof(SOCKET) == sizeof(uintptr_t) && INVALID_SOCKET == kNoSocket,
              "the request keeps its socket as an integer of the socket's size");

// A cache file larger than this is not loaded whole for decoding.
constexpr LONGLONG kDecodeFileMax = 64LL * 1024 * 1024;

std::atomic<int> OutstandingStartups{0};
std::atomic<long> StartupCount{0};
std::mutex SlotLock;

bool StartSocketLibrary() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return false;
    ++OutstandingStartups;
    ++StartupCount;
    return true;
}

void ReleaseSocketLibrary() {
    --OutstandingStartups;
    WSACleanup();
}

uint64_t FromFileTime(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME ToFileTime(uint64_t time) {
    FILETIME result;
    result.dwLowDateTime = static_cast<DWORD>(time);
    result.dwHighDateTime = static_cast<DWORD>(time >> 32);
    return result;
}

// The cache file's last-write time, read as the cache file is opened for
// writing without sharing; false when it does not exist or is in use.
bool ReadCacheFileTime(const char* path, uint64_t* time) {
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME written;
    bool ok = GetFileTime(file, nullptr, nullptr, &written) != 0;
    CloseHandle(file);
    if (ok)
        *time = FromFileTime(written);
    return ok;
}

bool SetLastWriteTime(const char* path, uint64_t time) {
    HANDLE file = CreateFileA(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME written = ToFileTime(time);
    bool ok = SetFileTime(file, nullptr, nullptr, &written) != 0;
    CloseHandle(file);
    return ok;
}

} // namespace

bool WriteAll(HANDLE file, const char* data, size_t size) {
    while (size > 0) {
        DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

namespace {

size_t ReadFromFile(void* context, char* buffer, size_t size) {
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(context), buffer, static_cast<DWORD>(size), &got, nullptr))
        return 0;
    return got;
}

bool WriteToFile(void* context, const char* data, size_t size) {
    return WriteAll(static_cast<HANDLE>(context), data, size);
}

// A file name beside `path` that no other fetch uses at the same time: two
// fetches of one cache file (a page's update and an auto-alert check) each
// have their own temporary files.
bool TemporaryPath(const char* path, const char* suffix, char* out, size_t size) {
    static std::atomic<unsigned long> count{0};
    return FormatText(out, size, "%s.%lx-%lx%s", path,
                      static_cast<unsigned long>(GetCurrentProcessId()), ++count, suffix);
}

// Replaces `path` with `side` in one step. A reader that has the cache file
// open for a moment (a page's display, another fetch reading its time) is
// waited for briefly.
bool ReplaceWithSideFile(const char* side, const char* path) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (MoveFileExA(side, path, MOVEFILE_REPLACE_EXISTING))
            return true;
        DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)
            break;
        Sleep(20);
    }
    return false;
}

// --- the socket, shared with AbortFetch -------------------------------------

// Stores the new socket in the request unless Stop came first.
bool AttachSocket(FetchRequest* request, SOCKET s) {
    std::lock_guard<std::mutex> lock(request->SocketLock);
    if (request->Flags.load() & kFetchAborted)
        return false;
    request->Socket.store(s);
    return true;
}

// Takes the socket out of the request (no AbortFetch can reach it afterwards)
// and closes it.
void CloseRequestSocket(FetchRequest* request) {
    SOCKET s;
    {
        std::lock_guard<std::mutex> lock(request->SocketLock);
        s = request->Socket.exchange(kNoSocket);
    }
    if (s != INVALID_SOCKET)
        closesocket(s);
}

// --- the watchdog --------------------------------------------------------------

struct WatchdogStart {
    FetchRequest* Request;
    WatchdogLimits Limits;
};

// Looks every CheckMs whether the transfer has ended; after SilenceMs without
// received data it aborts the transfer.
DWORD WINAPI WatchdogThread(void* parameter) {
    const WatchdogStart* start = static_cast<const WatchdogStart*>(parameter);
    FetchRequest* request = start->Request;
    while (GetTickCount() - request->LastActivity.load() < start->Limits.SilenceMs) {
        WaitForSingleObject(request->WatchdogWake, start->Limits.CheckMs);
        if (request->Flags.load() & kFetchDone)
            return 0;
    }
    AbortFetch(request);
    return 0;
}

// The watchdog runs from the first connection to the end of the last hop;
// `start` must outlive it.
bool StartWatchdog(FetchRequest* request, WatchdogStart* start) {
    request->Flags.fetch_and(~kFetchDone);
    request->LastActivity.store(GetTickCount()); // silence counts from here
    HANDLE wake = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!wake)
        return false;
    request->WatchdogWake = wake;
    DWORD watchdogId = 0;
    HANDLE watchdog = CreateThread(nullptr, 0, WatchdogThread, start, 0, &watchdogId);
    if (!watchdog) {
        request->WatchdogWake = nullptr;
        CloseHandle(wake);
        return false;
    }
    request->Watchdog = watchdog;
    request->WatchdogId = watchdogId;
    return true;
}

void EndWatchdog(FetchRequest* request) {
    request->Flags.fetch_or(kFetchDone);
    SetEvent(request->WatchdogWake);
    WaitForSingleObject(request->Watchdog, INFINITE);
    CloseHandle(request->Watchdog);
    CloseHandle(request->WatchdogWake);
    request->Watchdog = nullptr;
    request->WatchdogWake = nullptr;
    request->WatchdogId = 0;
}

// --- plain HTTP over the socket -----------------------------------------------------

// Receives until the server closes the connection, appending every receive to
// `raw`. 0 at a normal close; -1 on a receive or write error or when the
// transfer was aborted.
int ReceiveResponse(FetchRequest* request, HANDLE raw) {
    SOCKET s = request->Socket.load();
    for (;;) {
        std::memset(request->ReceiveBuffer, 0, sizeof request->ReceiveBuffer);
        int n = recv(s, request->ReceiveBuffer, sizeof request->ReceiveBuffer, 0);
        if (n < 0 || (request->Flags.load() & kFetchAborted))
            return -1;
        if (n > 0 && !WriteAll(raw, request->ReceiveBuffer, static_cast<size_t>(n)))
            return -1;
        request->LastActivity.store(GetTickCount());
        if (n == 0)
            return 0;
    }
}

// Connects, sends RequestText and receives the raw response into a temporary
// file of this fetch's own (gone when it is closed, on every path).
int ReceiveOverSocket(FetchRequest* request, HANDLE raw) {
    char hostName[sizeof request->Host];
    std::string_view host = TextOf(request->Host);
    CopyText(hostName, host.substr(0, host.find(':')));
    hostent* entry = gethostbyname(hostName);
    if (!entry || entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list[0])
        return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(request->Port);
    std::memcpy(&address.sin_addr, entry->h_addr_list[0], 4);

    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return -1;
    if (!AttachSocket(request, s)) {
        closesocket(s);
        return -1;
    }
    int length = static_cast<int>(BoundedLength(request->RequestText, sizeof request->RequestText));
    int result = -1;
    if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        send(s, request->RequestText, length, 0) == length &&
        !(request->Flags.load() & kFetchAborted)) {
        request->LastActivity.store(GetTickCount());
        result = ReceiveResponse(request, raw);
    }
    CloseRequestSocket(request);
    return result;
}

int SocketTransfer(FetchRequest* request, HANDLE body, ResponseHead* head) {
    char rawPath[MAX_PATH];
    if (!TemporaryPath(request->CachePath, ".$$$", rawPath, sizeof rawPath))
        return -1;
    HANDLE raw = CreateFileA(rawPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (raw == INVALID_HANDLE_VALUE)
        return -1;
    int result = -1;
    if (StartSocketLibrary()) {
        result = ReceiveOverSocket(request, raw);
        ReleaseSocketLibrary();
    }
    if (result == 0) {
        // The status test, then the plain or chunked body.
        SetFilePointer(raw, 0, nullptr, FILE_BEGIN);
        ResponseReader reader;
        InitResponseReader(&reader, ByteSource{ReadFromFile, raw});
        ReadResponseHead(&reader, (request->Flags.load() & kFetchConditional) != 0, head);
        if (WantsBody(*head) && head->Status != 204 &&
            !CopyResponseBody(&reader, head->Chunked, ByteSink{WriteToFile, body}))
            result = -1;
    }
    CloseHandle(raw);
    return result;
}

// --- one fetch, hop by hop -------------------------------------------------------

// Sends the request to Url and to each redirect's address in turn, every hop
// writing its body afresh into `body`. 0 with the last answer's head, or -1.
int FetchHops(FetchRequest* request, HANDLE body, const WatchdogLimits& limits,
              ResponseHead* head) {
    char address[sizeof head->Location];
    CopyText(address, TextOf(request->Url));
    bool ifModifiedSince = TextOf(request->DateText).size() > 0;
    for (int hops = 0;; ++hops) {
        if (!TargetFetchRequest(request, address) ||
            !ComposeRequestText(request, ifModifiedSince) ||
            SetFilePointer(body, 0, nullptr, FILE_BEGIN) != 0 || !SetEndOfFile(body))
            return -1;
        *head = ResponseHead{};
        int result = request->Secure ? SecureTransfer(request, body, limits, head)
                                     : SocketTransfer(request, body, head);
        if (result != 0 || !IsRedirectStatus(head->Status))
            return result;
        char next[sizeof address];
        if (FollowRedirect(address, TextOf(head->Location), hops, next, sizeof next) !=
            RedirectVerdict::Follow)
            return -1;
        CopyText(address, next);
    }
}

// The cache file after the last answer: replaced by a new (or empty) body,
// or confirmed by a not-modified answer. True only then.
bool SettleCacheFile(FetchRequest* request, HANDLE body, const char* bodyPath,
                     const ResponseHead& head) {
    bool conditional = (request->Flags.load() & kFetchConditional) != 0;
    // Only a new body or a not-modified answer speaks of the cached file: an
    // error page's Last-Modified is the error page's own time.
    if (head.HasLastModified && (WantsBody(head) || head.NotModified))
        request->FileTime = head.LastModified;
    if (WantsBody(head) && !head.Encoded) {
        bool ok = true;
        if (conditional && request->FileTime != 0) {
            FILETIME written = ToFileTime(request->FileTime);
            ok = SetFileTime(body, nullptr, nullptr, &written) != 0;
        }
        ok = CloseHandle(body) && ok;
        if (ok && ReplaceWithSideFile(bodyPath, request->CachePath)) {
            request->Flags.fetch_or(kFetchReplaced);
            return true;
        }
        DeleteFileA(bodyPath);
        return false;
    }
    CloseHandle(body);
    DeleteFileA(bodyPath);
    if (!head.NotModified || GetFileAttributesA(request->CachePath) == INVALID_FILE_ATTRIBUTES)
        return false;
    if (conditional && request->FileTime != 0)
        SetLastWriteTime(request->CachePath, request->FileTime);
    return true;
}

} // namespace

void InitFetchRequest(FetchRequest* request) {
    std::memset(request->Url, 0, sizeof request->Url);
    std::memset(request->CachePath, 0, sizeof request->CachePath);
    request->LastActivity.store(GetTickCount());
    request->Flags.store(0);
    ClearFetchResponseState(request);
    request->Socket.store(kNoSocket);
    request->Watchdog = nullptr;
    request->WatchdogWake = nullptr;
    request->WatchdogId = 0;
}

int HttpFetch(FetchRequest* request, const WatchdogLimits& limits) {
    if (!PrepareFetchRequest(request))
        return -1;
    if ((request->Flags.load() & kFetchConditional) &&
        ReadCacheFileTime(request->CachePath, &request->FileTime) &&
        !FormatHttpDate(request->FileTime, request->DateText, sizeof request->DateText))
        request->DateText[0] = '\0';
    // The body goes to a file of this fetch's own, moved over the cache file
    // in one step once it is whole.
    char bodyPath[MAX_PATH];
    if (!TemporaryPath(request->CachePath, ".new", bodyPath, sizeof bodyPath))
        return -1;
    HANDLE body = CreateFileA(bodyPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (body == INVALID_HANDLE_VALUE)
        return -1;
    WatchdogStart start{request, limits};
    int result = -1;
    ResponseHead head{};
    if (StartWatchdog(request, &start)) {
        result = FetchHops(request, body, limits, &head);
        EndWatchdog(request);
    }
    if (result != 0 || (request->Flags.load() & kFetchAborted)) {
        CloseHandle(body);
        DeleteFileA(bodyPath);
        return -1;
    }
    return SettleCacheFile(request, body, bodyPath, head) ? 0 : -1;
}

void AbortFetch(FetchRequest* request) {
    std::lock_guard<std::mutex> lock(request->SocketLock);
    request->Flags.fetch_or(kFetchAborted);
    AbortSecureTransfer(request);
    SOCKET s = request->Socket.load();
    if (s == INVALID_SOCKET)
        return;
    // Shut down, a later receive fails at once; cancelled, a receive in
    // progress fails now. The fetching thread closes the socket, so its handle
    // is never closed under a receive that is about to start.
    shutdown(s, SD_BOTH);
    if (!CancelIoEx(reinterpret_cast<HANDLE>(s), nullptr) && GetLastError() != ERROR_NOT_FOUND) {
        // A socket that is no system handle: closing it is the only way left.
        request->Socket.store(kNoSocket);
        closesocket(s);
    }
}

int DecodeCharacterReferences(FetchRequest* request) {
    const char* path = request->CachePath;
    if (BoundedLength(path, sizeof request->CachePath) == sizeof request->CachePath)
        return -1;
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    FILETIME created, written;
    LARGE_INTEGER size;
    if (!GetFileTime(file, &created, nullptr, &written) || !GetFileSizeEx(file, &size) ||
        size.QuadPart > kDecodeFileMax) {
        CloseHandle(file);
        return -1;
    }
    std::string text(static_cast<size_t>(size.QuadPart) + 1, '\0'); // one terminating byte
    size_t length = 0;
    while (length < static_cast<size_t>(size.QuadPart)) {
        size_t got =
            ReadFromFile(file, text.data() + length, static_cast<size_t>(size.QuadPart) - length);
        if (got == 0)
            break;
        length += got;
    }
    CloseHandle(file);
    if (length != static_cast<size_t>(size.QuadPart))
        return -1;
    length = DecodeCharacterReferenceText(text.data(), length);

    char side[MAX_PATH];
    if (!TemporaryPath(path, ".new", side, sizeof side))
        return -1;
    HANDLE out =
        CreateFileA(side, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return -1;
    bool ok = WriteAll(out, text.data(), length) && SetFileTime(out, &created, nullptr, &written);
    ok = CloseHandle(out) && ok;
    if (!ok) {
        DeleteFileA(side);
        return -1;
    }
    if (ReplaceWithSideFile(side, path))
        return 0;
    DeleteFileA(side);
    return -1;
}

void PublishFetch(FetchRequest** slot, FetchRequest* request) {
    std::lock_guard<std::mutex> lock(SlotLock);
    *slot = request;
}

void StopFetch(FetchRequest** slot) {
    std::lock_guard<std::mutex> lock(SlotLock);
    if (*slot)
        AbortFetch(*slot);
}

void RetireFetch(FetchRequest** slot) {
    std::lock_guard<std::mutex> lock(SlotLock);
    *slot = nullptr;
}

int OutstandingSocketStartups() {
    return OutstandingStartups.load();
}

long TotalSocketStartups() {
    return StartupCount.load();
}
