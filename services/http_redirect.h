// Where a redirect leads, and whether the downloader follows it: 301, 302,
// 303, 307 and 308 with a Location, at most five hops, never from HTTPS down
// to plain HTTP.
#ifndef CUMULON_HTTP_REDIRECT_H
#define CUMULON_HTTP_REDIRECT_H

#include <cstddef>
#include <string_view>

constexpr int kMaxRedirects = 5;

bool IsRedirectStatus(int status);

enum class RedirectVerdict {
    Follow,    // `next` holds the address to ask next
    TooMany,   // the hop would be the sixth
    Downgrade, // from https to http
    Unusable,  // no Location, or one that gives no fetchable address
};

// The address a redirect from `from` (a URL SplitHttpUrl accepts) with the
// header value `location` leads to, after `hopsTaken` hops already: an
// absolute address, a "//host/path" one that keeps the scheme, or a path
// ("/a/b", or "b" beside the current one). A fragment ("#...") is dropped.
// `next` is written only for Follow; an address that does not fit is Unusable.
RedirectVerdict FollowRedirect(std::string_view from, std::string_view location, int hopsTaken,
                               char* next, size_t nextSize);

#endif
