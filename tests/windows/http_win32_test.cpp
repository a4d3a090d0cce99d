// The HTTP request over WinINet against a loopback server of the test's own.
#include <windows.h>
// After windows.h.
#include <gtest/gtest.h>

#include "net/http.h"
#include "runtime/heap.h"
#include "tests/windows/loopback_server.h"

namespace {

net::HttpRequest request_to(const std::string& url) {
  net::HttpRequest request;
  request.url = url;
  return request;
}

// Seconds since `start` (a GetTickCount64 value).
double seconds_since(ULONGLONG start) { return double(GetTickCount64() - start) / 1000; }

size_t count_of(const std::string& text, const std::string& sought) {
  size_t n = 0;
  for (size_t at = text.find(sought); at != std::string::npos; at = text.find(sought, at + 1)) ++n;
  return n;
}

TEST(HttpRequest, GetSendsTheDefaultsAndReturnsTheBody) {
  LoopbackServer server(
      [](const ReceivedRequest&) { return http_answer(200, "<p>最新版本：2.1<"); });
  net::HttpRequest request = request_to(server.url("/corvel/a.htm?x=1"));
  request.method = "put";
  EXPECT_EQ(net::http_request_text(request), "<p>最新版本：2.1<");
  EXPECT_EQ(request.method, "GET");
  ASSERT_EQ(server.requests().size(), 1u);
  ReceivedRequest seen = server.requests().at(0);
  EXPECT_EQ(seen.line(), "GET /corvel/a.htm?x=1 HTTP/1.1");
  EXPECT_EQ(count_of(seen.head, "Accept: image/gif,"), 1u);
  EXPECT_EQ(count_of(seen.head, "Referer: " + request.url + "\r\n"), 1u);
  EXPECT_EQ(count_of(seen.head, "Accept-Language: zh-cn\r\n"), 1u);
  EXPECT_EQ(count_of(seen.head, std::string("User-Agent: ") + net::kUserAgent), 1u);
  EXPECT_EQ(count_of(seen.head, "Content-Type"), 0u);
  EXPECT_TRUE(seen.body.empty());
  EXPECT_EQ(request.headers, net::complete_request_headers("", request.url, "GET", ""));
}

TEST(HttpRequest, PostCarriesItsBodyAndContentLines) {
  LoopbackServer server([](const ReceivedRequest& r) { return http_answer(200, "got " + r.body); });
  net::HttpRequest request = request_to(server.url("/form"));
  request.method = "post";
  request.post_data = "a=1&b=2";
  EXPECT_EQ(net::http_request_text(request), "got a=1&b=2");
  ReceivedRequest seen = server.requests().at(0);
  EXPECT_EQ(seen.line(), "post /form HTTP/1.1");
  EXPECT_EQ(count_of(seen.head, "Content-Type: application/x-www-form-urlencoded\r\n"), 1u);
  EXPECT_EQ(seen.body, "a=1&b=2");
}

TEST(HttpRequest, CallersLowerCaseAcceptLineSuppressesTheDefault) {
  LoopbackServer server([](const ReceivedRequest&) { return http_answer(200, "ok"); });
  net::HttpRequest request = request_to(server.url("/"));
  request.headers = "accept: text/html\r\n";
  net::http_request_text(request);
  std::string head = server.requests().at(0).head;
  EXPECT_EQ(count_of(head, "accept: text/html"), 1u);
  EXPECT_EQ(count_of(head, "Accept: image/gif"), 0u);
}

TEST(HttpRequest, ZeroByteEndsTheTextButNotTheBytes) {
  const std::string body("MZ\0\x90rest", 7);
  LoopbackServer server([&](const ReceivedRequest&) { return http_answer(200, body); });
  net::HttpRequest request = request_to(server.url("/slipjet.exe"));
  EXPECT_EQ(net::http_request_text(request), "MZ");
  EXPECT_EQ(net::http_request_bytes(request), body);
}

TEST(HttpRequest, ErrorPageBodyIsReturnedWithItsStatus) {
  LoopbackServer server([](const ReceivedRequest&) { return http_answer(404, "<h1>没有</h1>"); });
  net::HttpRequest request = request_to(server.url("/missing"));
  request.want_raw_headers = true;
  net::HttpResponse response = net::http_request(request);
  EXPECT_EQ(response.body, "<h1>没有</h1>");
  EXPECT_EQ(response.status, 404);
  EXPECT_EQ(response.announced_length, 13u);
  EXPECT_EQ(response.raw_headers.rfind("HTTP/1.1 404", 0), 0u) << response.raw_headers;
}

TEST(HttpRequest, LongBodiesArriveWholeAndBodiesOverTheLimitFail) {
  std::string big(200000, 'x');
  for (size_t i = 0; i < big.size(); i += 997) big[i] = char('a' + i % 26);
  LoopbackServer server([&](const ReceivedRequest&) { return http_answer(200, big, "", false); });
  net::HttpRequest request = request_to(server.url("/big"));
  net::HttpResponse whole = net::http_request(request);
  EXPECT_EQ(whole.body, big);
  EXPECT_FALSE(whole.announced_length);
  request.body_limit = big.size() - 1;
  net::HttpResponse cut = net::http_request(request);
  EXPECT_TRUE(cut.too_long);
  EXPECT_TRUE(cut.body.empty());
}

TEST(HttpRequest, NoServerFailsAtOnce) {
  int port;
  {
    LoopbackServer gone([](const ReceivedRequest&) { return std::string(); });
    port = gone.port();
  }
  net::HttpRequest request = request_to("http://127.0.0.1:" + std::to_string(port) + "/");
  ULONGLONG start = GetTickCount64();
  net::HttpResponse response = net::http_request(request);
  EXPECT_TRUE(response.body.empty());
  EXPECT_EQ(response.status, 0);
  EXPECT_LT(seconds_since(start), 5);
}

// The default update host (".invalid" never resolves): a first start
// without a network must not wait for it.
TEST(HttpRequest, UnresolvableHostFailsAtOnce) {
  net::HttpRequest request =
      request_to("http://update.slipjet.invalid/corvel/zuzedavud/bannerkd.htm");
  ULONGLONG start = GetTickCount64();
  EXPECT_EQ(net::http_request_text(request), "");
  std::printf("unresolvable host failed after %.3f s\n", seconds_since(start));
  EXPECT_LT(seconds_since(start), 5);
}

TEST(HttpRequest, StalledServerEndsWithTheTimeOut) {
  LoopbackServer server([](const ReceivedRequest&) { return std::nullopt; });
  net::HttpRequest request = request_to(server.url("/stall"));
  ULONGLONG start = GetTickCount64();
  EXPECT_EQ(net::http_request_text(request), "");
  EXPECT_GE(seconds_since(start), 17);
  EXPECT_LT(seconds_since(start), 60);
}

// A server that trickles its answer a byte at a time, each well inside the
// time-outs, is cut off at the deadline; a quick answer within the deadline
// arrives whole, and the window's messages go on meanwhile.
TEST(HttpRequest, DeadlineEndsATricklingServerAndKeepsQuickAnswers) {
  LoopbackServer server(
      [](const ReceivedRequest&) { return http_answer(200, "<p>最新版本：2.1</p>"); });
  net::HttpRequest quick = request_to(server.url("/banner"));
  quick.deadline_ms = 3000;
  EXPECT_EQ(net::http_request_text(quick), "<p>最新版本：2.1</p>");
  EXPECT_EQ(quick.method, "GET");

  server.trickle(500);
  net::HttpRequest slow = request_to(server.url("/banner"));
  slow.deadline_ms = 3000;
  ULONGLONG start = GetTickCount64();
  EXPECT_EQ(net::http_request_text(slow), "");
  std::printf("trickling server cut off after %.3f s\n", seconds_since(start));
  EXPECT_GE(seconds_since(start), 2.9);
  EXPECT_LT(seconds_since(start), 3.5);
  // The request's own thread touched none of the runtime's state.
  EXPECT_EQ(rt_heap_calls_from_other_threads(), 0);
}

}  // namespace
