// The request over WinINet, in the order the server and the program's
// callers have always seen: open, connect, request, time-outs, send, read.
#include <windows.h>
// After windows.h.
#include <wininet.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "net/http.h"
#include "net/url.h"
#include "runtime/system.h"

namespace net {

namespace {

// The response's status and announced length, when the server sent them.
void read_status(HINTERNET request, HttpResponse& response) {
  DWORD value = 0, size = sizeof value;
  if (HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &value, &size,
                     nullptr))
    response.status = int(value);
  char length[32] = {};
  size = sizeof length;
  if (HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, length, &size, nullptr))
    response.announced_length = std::strtoull(length, nullptr, 10);
}

std::string raw_headers(HINTERNET request) {
  std::string buffer(kRawHeaderBuffer, ' ');
  DWORD size = DWORD(buffer.size());
  if (!HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &size, nullptr))
    return buffer;
  buffer.resize(size);
  return buffer;
}

// Reads the body in 512-byte pieces, letting the window work before each
// (when on the window's thread).
void read_body(HINTERNET request, size_t limit, bool on_window_thread, HttpResponse& response) {
  DWORD delivered = 1;
  while (delivered > 0) {
    char piece[kReadPiece];
    if (on_window_thread) rt::do_events();
    delivered = 0;
    if (!InternetReadFile(request, piece, DWORD(sizeof piece), &delivered)) delivered = 0;
    if (response.body.size() + delivered > limit) {
      response.body.clear();
      response.too_long = true;
      return;
    }
    response.body.append(piece, delivered);
  }
}

// Where a request goes, read from its URL by the runtime's text functions:
// on the window's thread, so that a request's own thread uses only the
// system and the standard library (the runtime's heap is the window
// thread's alone).
struct Address {
  std::string host;
  int port = 80;
  std::string path;
};

Address address_of(const std::string& url) { return {url_host(url), url_port(url), url_path(url)}; }

// The request, its method and headers already completed.
HttpResponse perform(const HttpRequest& request, const Address& address, bool on_window_thread) {
  HttpResponse response;
  std::string proxy_list = request.proxy ? "http=" + *request.proxy : std::string();
  HINTERNET internet =
      request.proxy ? InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PROXY, proxy_list.c_str(), "", 0)
                    : InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, "", "", 0);
  if (!internet) return response;
  HINTERNET connection =
      InternetConnectA(internet, address.host.c_str(), INTERNET_PORT(address.port), "", "",
                       INTERNET_SERVICE_HTTP, 0, 0);
  if (!connection) {
    InternetCloseHandle(internet);
    return response;
  }
  HINTERNET handle = HttpOpenRequestA(connection, request.method.c_str(), address.path.c_str(), "HTTP/1.1",
                                      nullptr, nullptr, INTERNET_FLAG_RELOAD, 0);
  if (!handle) {
    InternetCloseHandle(internet);
    InternetCloseHandle(connection);
    return response;
  }
  DWORD timeout = request.deadline_ms ? std::min(kTimeoutMs, request.deadline_ms) : kTimeoutMs;
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT})
    InternetSetOptionA(handle, option, &timeout, sizeof timeout);
  bool with_body = request.method != "GET";
  std::string body = request.post_data;  // the call takes a writable buffer
  HttpSendRequestA(handle, request.headers.c_str(), DWORD(request.headers.size()),
                   with_body ? body.data() : nullptr,
                   with_body ? DWORD(request.post_data.size()) : 0);
  read_status(handle, response);
  read_body(handle, request.body_limit, on_window_thread, response);
  if (request.want_raw_headers) response.raw_headers = raw_headers(handle);
  InternetCloseHandle(internet);
  InternetCloseHandle(connection);
  InternetCloseHandle(handle);
  return response;
}

// A request whose answer the window waits for until the deadline.
struct Pending {
  HttpRequest request;
  Address address;
  HttpResponse response;
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ~Pending() {
    if (done) CloseHandle(done);
  }
};

// The request runs on a thread of its own: a server that trickles bytes
// just inside every time-out cannot hold the window past the deadline.
// Past it the thread is left to end by itself and its answer is dropped.
HttpResponse perform_with_deadline(const HttpRequest& request) {
  auto pending = std::make_shared<Pending>();
  if (!pending->done) return {};
  pending->request = request;
  pending->address = address_of(request.url);
  std::thread([pending] {
    pending->response = perform(pending->request, pending->address, false);
    SetEvent(pending->done);
  }).detach();
  constexpr DWORD kCancelCheckMs = 100;
  DWORD started = GetTickCount();
  for (;;) {
    DWORD elapsed = GetTickCount() - started;
    if (elapsed >= request.deadline_ms || (request.cancelled && request.cancelled())) return {};
    DWORD wait = std::min(request.deadline_ms - elapsed, kCancelCheckMs);
    DWORD woken = MsgWaitForMultipleObjects(1, &pending->done, FALSE, wait, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0) return pending->response;
    rt::do_events();
  }
}

}  // namespace

HttpResponse http_request(HttpRequest& request) {
  request.method = request_method(request.method);
  request.headers =
      complete_request_headers(request.headers, request.url, request.method, request.post_data);
  return request.deadline_ms ? perform_with_deadline(request)
                             : perform(request, address_of(request.url), true);
}

}  // namespace net
