#include "services/http_redirect.h"

#include "services/http_request.h"
#include "services/text_buffer.h"

#include <string>

bool IsRedirectStatus(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

RedirectVerdict FollowRedirect(std::string_view from, std::string_view location, int hopsTaken,
                               char* next, size_t nextSize) {
    while (!location.empty() && (location.front() == ' ' || location.front() == '\t'))
        location.remove_prefix(1);
    while (!location.empty() && (location.back() == ' ' || location.back() == '\t' ||
                                 location.back() == '\r' || location.back() == '\n'))
        location.remove_suffix(1);
    location = location.substr(0, location.find('#'));
    HttpUrl current;
    if (location.empty() || !SplitHttpUrl(from, &current))
        return RedirectVerdict::Unusable;
    if (hopsTaken >= kMaxRedirects)
        return RedirectVerdict::TooMany;

    std::string target;
    std::string_view scheme = current.Secure ? "https:" : "http:";
    if (location.find("://") != std::string_view::npos)
        target = location; // absolute
    else if (location.substr(0, 2) == "//")
        target = std::string(scheme).append(location);
    else {
        std::string origin = std::string(scheme).append("//").append(current.Host);
        if (location.front() == '/')
            target = origin.append(location);
        else { // beside the current resource: its path up to the last "/" before any query
            std::string_view path = current.Resource.substr(0, current.Resource.find('?'));
            target = origin.append(path.substr(0, path.rfind('/') + 1)).append(location);
        }
    }
    HttpUrl parts;
    if (!SplitHttpUrl(target, &parts))
        return RedirectVerdict::Unusable;
    if (current.Secure && !parts.Secure)
        return RedirectVerdict::Downgrade;
    if (target.size() >= nextSize)
        return RedirectVerdict::Unusable;
    CopyText(next, nextSize, target);
    return RedirectVerdict::Follow;
}
