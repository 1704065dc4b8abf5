#pragma once
// The title of a web page, read from the page itself: what stands between its "<title>" and
// "</title>", for naming a page item when no browser window tells its title.
#include <string>

namespace tv {

// Fetches at most the first 64 KB of `address` (never from the cache) and answers the title
// found there, trimmed. Empty when nothing could be read, when the page has no "<title>", or
// when its title is not closed. A host that does not answer gives up after a few seconds.
std::wstring FetchPageTitle(const std::wstring& address);

// The title rule over a page's text: after the first "<title>" in any letter case, up to the
// next "</title>" in lower case; empty when either is missing. Not trimmed.
std::wstring TitleInPageText(const std::wstring& text);

}  // namespace tv
