// Times HttpFetch on one URL: the whole download into the temporary file and
// its conversion into the cache file, as a page worker runs it.
//   http_fetch_bench URL CACHE_PATH RUNS
// Prints one line per run: "seconds BYTES".
#include "services/http_fetch.h"
#include "services/text_buffer.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: http_fetch_bench URL CACHE_PATH RUNS\n");
        return 2;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int run = 0; run < std::atoi(argv[3]); ++run) {
        FetchRequest* request = new FetchRequest;
        InitFetchRequest(request);
        CopyText(request->Url, argv[1]);
        CopyText(request->CachePath, argv[2]);
        DeleteFileA(argv[2]);
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        int result = HttpFetch(request);
        QueryPerformanceCounter(&end);
        delete request;
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExA(argv[2], GetFileExInfoStandard, &data);
        unsigned long long bytes = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (result != 0) {
            std::fprintf(stderr, "HttpFetch failed\n");
            return 1;
        }
        std::printf("%.6f %llu\n", static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart,
                    bytes);
    }
    return 0;
}
