// Stop on a page whose worker has not reached its download yet: the worker
// is held while it reads the catalog, and a listening socket that never
// answers stands for the server.
#include "resources/resource_ids.h"
#include "services/feed_page.h"

#include <gtest/gtest.h>

#include <winsock2.h>

#include <string>
#include <vector>

namespace {

HANDLE ReadingCatalog, CatalogRead;
std::string Address;

int HeldTargets(const PageRow&, uint32_t, std::vector<FeedTarget>* targets) {
    SetEvent(ReadingCatalog);
    WaitForSingleObject(CatalogRead, 10000);
    targets->push_back({Address, "feed-page-test.xml"});
    return 0;
}
void NoDisplay(const FeedPage&, HWND) {}

PageState State;
const FeedPage kPage = {.DialogId = 0,
                        .State = &State,
                        .BusyBit = kBusySatelliteWide,
                        .HelpTopic = "",
                        .Toolbar = nullptr,
                        .ToolbarCount = 0,
                        .Icons = nullptr,
                        .StatusLeftBit = 0,
                        .StatusRightBit = 0,
                        .Targets = HeldTargets,
                        .Display = NoDisplay};

TEST(FeedPageStop, AStopWhileTheWorkerReadsTheCatalogIsKept) {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    Address = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/feed";
    ReadingCatalog = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CatalogRead = CreateEventA(nullptr, TRUE, FALSE, nullptr);

    struct alignas(4) {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } empty = {{WS_POPUP, 0, 0, 0, 0, 100, 100}, 0, 0, 0};
    HWND page = CreateDialogIndirectParamA(nullptr, &empty.dialog, nullptr, FeedPageProc,
                                           reinterpret_cast<LPARAM>(&kPage));
    ASSERT_NE(page, nullptr);
    SendMessageA(page, WM_COMMAND, IDC_UPDATE, 0);
    ASSERT_EQ(WaitForSingleObject(ReadingCatalog, 5000), WAIT_OBJECT_0);
    SendMessageA(page, WM_COMMAND, IDC_STOP, 0);
    SetEvent(CatalogRead);
    // Not kept, the download would wait for its answer until the watchdog.
    EXPECT_EQ(WaitForSingleObject(State.Worker, 5000), WAIT_OBJECT_0);
    fd_set pending;
    FD_ZERO(&pending);
    FD_SET(listener, &pending);
    timeval now{0, 0};
    EXPECT_EQ(select(0, &pending, nullptr, nullptr, &now), 0) << "a connection was made";

    DestroyWindow(page);
    closesocket(listener);
    WSACleanup();
}

} // namespace
