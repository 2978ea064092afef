// HTTPS through WinHTTP: the platform's TLS (1.2 or later), its certificate
// store and its proxy settings. Certificate and host-name checks stay as the
// system makes them. WinHTTP runs asynchronously, so that Stop and the
// watchdog end a transfer at once even where closing a handle does not
// cancel a pending receive: the fetching thread waits for each step or for
// the abort, whichever comes first.
#include "services/http_request.h"
#include "services/http_transfer_win32.h"
#include "services/text_buffer.h"

#include <winhttp.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>

namespace {

// The largest head taken from WinHTTP; a longer one is refused.
constexpr DWORD kHeadMax = 64 * 1024;

// One WinHTTP request's state, shared with WinHTTP's callback. It lives until
// both the fetching thread and WinHTTP (at the handle's closing) let go, so a
// step that completes after an abort writes into live memory.
struct SecureCall {
    std::atomic<int> Refs{2};
    HANDLE Completed = nullptr; // auto-reset: a step ended
    HANDLE Aborted = nullptr;   // manual-reset: Stop or the watchdog
    std::atomic<DWORD> Status{0};
    std::atomic<DWORD> Size{0};
    HINTERNET Request = nullptr; // closed by the first of AbortFetch and the fetching thread
    char Buffer[8192];
};

void Release(SecureCall* call) {
    if (--call->Refs == 0) {
        CloseHandle(call->Completed);
        CloseHandle(call->Aborted);
        delete call;
    }
}

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, void* info, DWORD length) {
    SecureCall* call = reinterpret_cast<SecureCall*>(context);
    if (!call)
        return;
    switch (status) {
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
        Release(call);
        return;
    case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
        call->Size = *static_cast<DWORD*>(info);
        break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
        call->Size = length;
        break;
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        break;
    default:
        return;
    }
    call->Status = status;
    SetEvent(call->Completed);
}

// Waits for the step just started; true when it ended as `expected`, false on
// an error or an abort.
bool Await(SecureCall* call, DWORD expected) {
    HANDLE handles[2] = {call->Completed, call->Aborted};
    return WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 &&
           call->Status == expected;
}

std::wstring Wide(std::string_view text) {
    std::wstring wide(text.size(), L'\0');
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                static_cast<int>(wide.size()));
    wide.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return wide;
}

struct MemorySource {
    const std::string* Text;
    size_t At;
};

size_t ReadMemory(void* context, char* buffer, size_t size) {
    MemorySource* source = static_cast<MemorySource*>(context);
    size_t n = std::min(size, source->Text->size() - source->At);
    std::memcpy(buffer, source->Text->data() + source->At, n);
    source->At += n;
    return n;
}

// The answer's status line and header lines, as the socket path reads them.
bool ReadHead(HINTERNET request, bool conditional, ResponseHead* head) {
    DWORD size = 0;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                        nullptr, &size, WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0 || size > kHeadMax)
        return false;
    std::wstring wide(size / sizeof(wchar_t) + 1, L'\0');
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                             wide.data(), &size, WINHTTP_NO_HEADER_INDEX))
        return false;
    wide.resize(size / sizeof(wchar_t));
    std::string text(wide.size() * 2 + 1, '\0');
    int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    MemorySource source{&text, 0};
    ResponseReader reader;
    InitResponseReader(&reader, ByteSource{ReadMemory, &source});
    ReadResponseHead(&reader, conditional, head);
    head->Chunked = false; // WinHTTP has taken the chunks apart already
    return true;
}

// Stores the call in the request unless Stop came first.
bool Attach(FetchRequest* request, SecureCall* call) {
    std::lock_guard<std::mutex> lock(request->SocketLock);
    if (request->Flags.load() & kFetchAborted)
        return false;
    request->SecureCall = call;
    return true;
}

// Takes the call out of the request and closes its request handle, unless
// AbortFetch has done so.
void Detach(FetchRequest* request, SecureCall* call) {
    std::lock_guard<std::mutex> lock(request->SocketLock);
    request->SecureCall = nullptr;
    if (call->Request) {
        WinHttpCloseHandle(call->Request);
        call->Request = nullptr;
    }
}

// TLS 1.2 or later, nothing older: 1.3 where the system has it.
bool RequireModernTls(HINTERNET session) {
    DWORD protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3;
    if (WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols))
        return true;
    protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
    return WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols);
}

// Sends the request and reads the answer on an opened request handle.
int Exchange(FetchRequest* request, SecureCall* call, HINTERNET handle, HANDLE body,
             ResponseHead* head) {
    bool ifModifiedSince = TextOf(request->DateText).size() > 0;
    char lines[sizeof request->RequestText];
    if (!ComposeHeaderLines(request, ifModifiedSince, lines, sizeof lines))
        return -1;
    std::wstring headers = Wide(lines);
    if (!WinHttpAddRequestHeaders(handle, headers.c_str(), static_cast<DWORD>(headers.size()),
                                  WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE))
        return -1;
    if (!WinHttpSendRequest(handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                            reinterpret_cast<DWORD_PTR>(call)) ||
        !Await(call, WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE) ||
        !WinHttpReceiveResponse(handle, nullptr) ||
        !Await(call, WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE))
        return -1;
    request->LastActivity.store(GetTickCount());
    if (!ReadHead(handle, (request->Flags.load() & kFetchConditional) != 0, head))
        return -1;
    if (!WantsBody(*head) || head->Status == 204)
        return 0;
    for (;;) {
        if (!WinHttpQueryDataAvailable(handle, nullptr) ||
            !Await(call, WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE))
            return -1;
        DWORD want = std::min<DWORD>(call->Size, sizeof call->Buffer);
        if (want == 0)
            return 0; // the whole body has arrived
        if (!WinHttpReadData(handle, call->Buffer, want, nullptr) ||
            !Await(call, WINHTTP_CALLBACK_STATUS_READ_COMPLETE))
            return -1;
        if (call->Size == 0)
            return 0;
        if (!WriteAll(body, call->Buffer, std::min<DWORD>(call->Size, sizeof call->Buffer)))
            return -1;
        request->LastActivity.store(GetTickCount());
    }
}

} // namespace

int SecureTransfer(FetchRequest* request, HANDLE body, const WatchdogLimits& limits,
                   ResponseHead* head) {
    std::wstring agent = Wide(kHttpUserAgent);
    HINTERNET session =
        WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                    WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
    if (!session) // a system older than the automatic proxy: the configured one
        session = WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                              WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
    if (!session)
        return -1;
    // WinHTTP's own receive limits stay beyond the watchdog's, which ends a
    // silent transfer first.
    int receive = static_cast<int>(limits.SilenceMs + 2 * limits.CheckMs + 5000);
    DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER, noCookies = WINHTTP_DISABLE_COOKIES;
    HINTERNET connection = nullptr;
    if (RequireModernTls(session) && WinHttpSetTimeouts(session, 0, 60000, 60000, receive)) {
        std::string_view host = TextOf(request->Host);
        connection =
            WinHttpConnect(session, Wide(host.substr(0, host.find(':'))).c_str(), request->Port, 0);
    }
    HINTERNET handle = nullptr;
    if (connection)
        handle = WinHttpOpenRequest(connection, L"GET", Wide(TextOf(request->Resource)).c_str(),
                                    nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                    WINHTTP_FLAG_SECURE | WINHTTP_FLAG_ESCAPE_DISABLE |
                                        WINHTTP_FLAG_ESCAPE_DISABLE_QUERY);
    int result = -1;
    if (handle) {
        SecureCall* call = new SecureCall;
        call->Completed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        call->Aborted = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        call->Request = handle;
        DWORD_PTR context = reinterpret_cast<DWORD_PTR>(call);
        // Redirects are the downloader's own (hop count, no way down to
        // HTTP); cookies are no feed's business.
        if (call->Completed && call->Aborted &&
            WinHttpSetOption(handle, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context) &&
            WinHttpSetStatusCallback(handle, OnStatus,
                                     WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS |
                                         WINHTTP_CALLBACK_FLAG_HANDLES,
                                     0) != WINHTTP_INVALID_STATUS_CALLBACK &&
            WinHttpSetOption(handle, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never)) {
            WinHttpSetOption(handle, WINHTTP_OPTION_DISABLE_FEATURE, &noCookies, sizeof noCookies);
            WinHttpSetOption(handle, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &receive,
                             sizeof receive);
            if (Attach(request, call)) {
                result = Exchange(request, call, handle, body, head);
                if (request->Flags.load() & kFetchAborted)
                    result = -1;
            }
            Detach(request, call); // WinHTTP lets go of the call at the handle's closing
        } else {
            WinHttpSetStatusCallback(handle, nullptr, 0, 0);
            WinHttpCloseHandle(handle);
            Release(call); // no callback holds it
        }
        Release(call);
    }
    if (connection)
        WinHttpCloseHandle(connection);
    WinHttpCloseHandle(session);
    return result;
}

void AbortSecureTransfer(FetchRequest* request) {
    SecureCall* call = static_cast<SecureCall*>(request->SecureCall);
    if (!call)
        return;
    SetEvent(call->Aborted);
    if (call->Request) {
        WinHttpCloseHandle(call->Request);
        call->Request = nullptr;
    }
}
