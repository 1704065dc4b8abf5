// Page titles read from pages served by the test itself, on 127.0.0.1 only.
#include "capture/page_title.h"

#include "support/page_server.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace tv;
using tvtest::PageServer;
using tvtest::ListenOnLoopback;
using tvtest::Winsock;

namespace {

class PageTitle : public ::testing::Test {
protected:
    Winsock winsock;
    void SetUp() override { ASSERT_TRUE(winsock.ok()); }

    std::wstring TitleOf(const std::string& body) {
        PageServer server({PageServer::Answer(body)});
        EXPECT_TRUE(server.listening());
        return FetchPageTitle(server.Address());
    }
};

}  // namespace

TEST(TitleInPageText, OpensInAnyCaseClosesInLowerCaseOnly) {
    EXPECT_EQ(TitleInPageText(L"<html><head><title>Home</title></head>"), L"Home");
    EXPECT_EQ(TitleInPageText(L"<TITLE>Upper</title>"), L"Upper");
    EXPECT_EQ(TitleInPageText(L"<TiTlE>Mixed</title>"), L"Mixed");
    EXPECT_EQ(TitleInPageText(L"<title>Never closed"), L"");
    EXPECT_EQ(TitleInPageText(L"<title>Closed in capitals</TITLE>"), L"");
    EXPECT_EQ(TitleInPageText(L"<p>No title at all</p>"), L"");
    EXPECT_EQ(TitleInPageText(L""), L"");
    EXPECT_EQ(TitleInPageText(L"<title></title>"), L"");
    // The first opening counts, and the first closing after it.
    EXPECT_EQ(TitleInPageText(L"<title>one</title><title>two</title>"), L"one");
    EXPECT_EQ(TitleInPageText(L"</title><title>after</title>"), L"after");
    EXPECT_EQ(TitleInPageText(L"<title> spaced </title>"), L" spaced ");  // trimming is the caller's
    EXPECT_EQ(TitleInPageText(L"<titl"), L"");
}

TEST_F(PageTitle, ServedPagesGiveTheirTrimmedTitle) {
    EXPECT_EQ(TitleOf("<html><head><title>  Home page\r\n</title></head><body>x</body></html>"), L"Home page");
    EXPECT_EQ(TitleOf("<HTML><HEAD><TITLE>Shouted</title></HEAD></HTML>"), L"Shouted");
    EXPECT_EQ(TitleOf("<html><title>Not closed</html>"), L"");
    EXPECT_EQ(TitleOf("<html><body>Nothing to call it</body></html>"), L"");
    EXPECT_EQ(TitleOf(""), L"");
}

TEST_F(PageTitle, EachFetchAsksTheServerAgainForThePathGiven) {
    // The first answer lets any cache keep it for an hour; the page has changed by the second.
    PageServer server({PageServer::Answer("<title>one</title>", "Cache-Control: max-age=3600\r\nExpires: Thu, 01 Dec 2099 16:00:00 GMT\r\n"),
                       PageServer::Answer("<title>two</title>")});
    const std::wstring address = server.Address(L"/dir/p.html?q=1");
    EXPECT_EQ(FetchPageTitle(address), L"one");
    EXPECT_EQ(server.lastRequest().rfind("GET /dir/p.html?q=1 HTTP/1.", 0), 0u) << server.lastRequest();
    EXPECT_EQ(FetchPageTitle(address), L"two");
    EXPECT_EQ(server.connections(), 2);
}

TEST_F(PageTitle, TheBytesAreReadInTheAnsiCodePage) {
    if (GetACP() != 1252) GTEST_SKIP() << "the system code page is " << GetACP() << ", not 1252";
    EXPECT_EQ(TitleOf("<title>Caf\xE9 \x80 na\xEFve</title>"), L"Caf\u00E9 \u20AC na\u00EFve");
}

TEST_F(PageTitle, APageArrivingInPiecesIsReadToTheTitle) {
    // The title comes only after the first pieces have been taken by earlier reads.
    std::string padding(3000, ' ');
    PageServer::Pieces pieces = PageServer::Answer("<html>" + padding);
    for (const char* more : {" <title>Late", " arri", "val</title></html>"}) pieces.push_back(more);
    pieces.insert(pieces.begin() + 1, padding);
    PageServer server({pieces});
    EXPECT_EQ(FetchPageTitle(server.Address()), L"Late arrival");
}

TEST_F(PageTitle, OnlyTheFirst64KBytesOfTheBodyAreRead) {
    const std::string title = "<title>x</title>";
    EXPECT_EQ(TitleOf(std::string(65536 - title.size(), 'a') + title), L"x");      // ends on the last byte read
    EXPECT_EQ(TitleOf(std::string(65536 - title.size() + 1, 'a') + title), L"");  // its last ">" is not read
    EXPECT_EQ(TitleOf(std::string(200000, 'a') + title), L"");
}

TEST_F(PageTitle, NoAnswerGivesNoTitle) {
    PageServer hangsUp({});  // reads the request and closes
    ASSERT_TRUE(hangsUp.listening());
    EXPECT_EQ(FetchPageTitle(hangsUp.Address()), L"");
    EXPECT_GE(hangsUp.connections(), 1);

    // A port nobody listens on: refused at once.
    unsigned short port = 0;
    SOCKET s = ListenOnLoopback(port);
    ASSERT_NE(s, INVALID_SOCKET);
    closesocket(s);
    DWORD start = GetTickCount();
    EXPECT_EQ(FetchPageTitle(L"http://127.0.0.1:" + std::to_wstring(port) + L"/"), L"");
    std::printf("closed port answered empty after %lu ms\n", GetTickCount() - start);

    EXPECT_EQ(FetchPageTitle(L"not an address"), L"");
}

TEST_F(PageTitle, AServerThatSaysNothingIsGivenUpOn) {
    // The server holds the connection open past the test's wait; the fetch must give up by
    // itself, so a dead host cannot hold the window.
    auto silent = std::make_unique<PageServer>(std::vector<PageServer::Pieces>{PageServer::Answer("<title>Too late</title>")}, true);
    ASSERT_TRUE(silent->listening());
    std::atomic<bool> done{false};
    std::wstring title = L"unset";
    DWORD start = GetTickCount();
    std::thread fetch([&] {
        title = FetchPageTitle(silent->Address());
        done = true;
    });
    // Many times the few seconds the fetch allows itself: a slow machine cannot reach it.
    while (!done && GetTickCount() - start < 120000) Sleep(50);
    DWORD spent = GetTickCount() - start;
    EXPECT_TRUE(done) << "the fetch still waits after " << spent << " ms";
    std::printf("a silent server was given up on after %lu ms\n", spent);
    silent.reset();  // answers and closes, so a fetch still waiting ends too
    fetch.join();
    EXPECT_EQ(title, L"");
}
