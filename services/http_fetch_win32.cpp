// The downloader's Windows side: WinSock 2.2 client, the receive loop into the
// temporary file, the watchdog thread, the cache file and its times.
#include "services/http_fetch.h"

#include "services/http_character_references.h"
#include "services/http_date.h"
#include "services/http_request.h"
#include "services/http_response.h"
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

size_t ReadFromFile(void* context, char* buffer, size_t size) {
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(context), buffer, static_cast<DWORD>(size), &got, nullptr))
        return 0;
    return got;
}

bool WriteToFile(void* context, const char* data, size_t size) {
    return WriteAll(static_cast<HANDLE>(context), data, size);
}

// The file written beside `path` and then moved over it in one step.
bool SideFilePath(const char* path, char* side, size_t sideSize) {
    return FormatText(side, sideSize, "%s.new", path);
}

// Replaces `path` with `side` in one step; the side file is gone afterwards.
bool ReplaceWithSideFile(const char* side, const char* path) {
    if (MoveFileExA(side, path, MOVEFILE_REPLACE_EXISTING))
        return true;
    DeleteFileA(side);
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

// --- the transfer -----------------------------------------------------------------

// Receives until the server closes the connection, appending every receive to
// `raw`, under the watchdog. 0 at a normal close; -1 on a receive or write
// error or when the transfer was aborted.
int ReceiveResponse(FetchRequest* request, HANDLE raw, const WatchdogLimits& limits) {
    request->Flags.fetch_and(~kFetchDone);
    request->LastActivity.store(GetTickCount()); // silence counts from the first receive
    HANDLE wake = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!wake)
        return -1;
    request->WatchdogWake = wake;
    WatchdogStart start{request, limits};
    DWORD watchdogId = 0;
    HANDLE watchdog = CreateThread(nullptr, 0, WatchdogThread, &start, 0, &watchdogId);
    if (!watchdog) {
        request->WatchdogWake = nullptr;
        CloseHandle(wake);
        return -1;
    }
    request->Watchdog = watchdog;
    request->WatchdogId = watchdogId;

    SOCKET s = request->Socket.load();
    int result = 0;
    for (;;) {
        std::memset(request->ReceiveBuffer, 0, sizeof request->ReceiveBuffer);
        int n = recv(s, request->ReceiveBuffer, sizeof request->ReceiveBuffer, 0);
        if (n < 0 || (request->Flags.load() & kFetchAborted)) {
            result = -1;
            break;
        }
        if (n > 0 && !WriteAll(raw, request->ReceiveBuffer, static_cast<size_t>(n))) {
            result = -1;
            break;
        }
        request->LastActivity.store(GetTickCount());
        if (n == 0)
            break;
    }

    request->Flags.fetch_or(kFetchDone);
    SetEvent(wake);
    WaitForSingleObject(watchdog, INFINITE);
    CloseHandle(watchdog);
    CloseHandle(wake);
    request->Watchdog = nullptr;
    request->WatchdogWake = nullptr;
    request->WatchdogId = 0;
    return result;
}

// Writes the body into a file beside the cache file and moves it over the
// cache file, so that a failure never leaves a half-written cache file.
bool WriteCacheFile(FetchRequest* request, ResponseReader* reader, bool chunked, bool conditional) {
    char side[MAX_PATH];
    if (!SideFilePath(request->CachePath, side, sizeof side))
        return false;
    HANDLE file =
        CreateFileA(side, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = CopyResponseBody(reader, chunked, ByteSink{WriteToFile, file});
    if (ok && conditional && request->FileTime != 0) {
        FILETIME written = ToFileTime(request->FileTime);
        ok = SetFileTime(file, nullptr, nullptr, &written) != 0;
    }
    ok = CloseHandle(file) && ok;
    if (!ok) {
        DeleteFileA(side);
        return false;
    }
    return ReplaceWithSideFile(side, request->CachePath);
}

// Turns the temporary file into the cache file: the status test, then the
// plain or chunked body; in conditional mode the cache file takes FileTime
// (the server's Last-Modified, else the time it had).
void ConvertResponse(FetchRequest* request, const char* rawPath) {
    HANDLE raw = CreateFileA(rawPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (raw == INVALID_HANDLE_VALUE)
        return;
    bool conditional = (request->Flags.load() & kFetchConditional) != 0;
    ResponseReader reader;
    InitResponseReader(&reader, ByteSource{ReadFromFile, raw});
    ResponseHead head;
    ReadResponseHead(&reader, conditional, &head);
    if (head.HasLastModified)
        request->FileTime = head.LastModified;
    // Only a new body or a not-modified answer speaks of the cached file: an
    // error page's Last-Modified is the error page's own time.
    if (head.Success) {
        if (WriteCacheFile(request, &reader, head.Chunked, conditional))
            request->Flags.fetch_or(kFetchReplaced);
    } else if (head.NotModified && conditional && request->FileTime != 0) {
        SetLastWriteTime(request->CachePath, request->FileTime);
    }
    CloseHandle(raw);
}

// Everything between the start-up and the release of the socket library.
int Transfer(FetchRequest* request, const char* rawPath, const WatchdogLimits& limits) {
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
    if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        send(s, request->RequestText, length, 0) != length ||
        (request->Flags.load() & kFetchAborted)) {
        CloseRequestSocket(request);
        return -1;
    }

    HANDLE raw = CreateFileA(rawPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) {
        CloseRequestSocket(request);
        return -1;
    }
    int received = ReceiveResponse(request, raw, limits);
    CloseRequestSocket(request);
    CloseHandle(raw);
    if (received == 0)
        ConvertResponse(request, rawPath);
    DeleteFileA(rawPath);
    return received;
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
    bool ifModifiedSince = false;
    if ((request->Flags.load() & kFetchConditional) &&
        ReadCacheFileTime(request->CachePath, &request->FileTime))
        ifModifiedSince =
            FormatHttpDate(request->FileTime, request->DateText, sizeof request->DateText);
    char rawPath[MAX_PATH];
    if (!ComposeRequestText(request, ifModifiedSince) ||
        !FormatText(rawPath, sizeof rawPath, "%s.$$$", request->CachePath))
        return -1;

    if (!StartSocketLibrary())
        return -1;
    int result = Transfer(request, rawPath, limits);
    ReleaseSocketLibrary();
    return result;
}

void AbortFetch(FetchRequest* request) {
    std::lock_guard<std::mutex> lock(request->SocketLock);
    request->Flags.fetch_or(kFetchAborted);
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
    if (!SideFilePath(path, side, sizeof side))
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
    return ReplaceWithSideFile(side, path) ? 0 : -1;
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
