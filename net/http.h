// The HTTP client: one blocking request over the platform's Internet
// service that reads the whole answer while keeping the window responsive.
// Texts are GBK. Failures are silent: an empty body (the callers decide).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace net {

struct HttpRequest {
  std::string url;
  // "POST" in any letter case stays as written; anything else becomes "GET".
  std::string method;
  std::optional<std::string> proxy;
  // Extra header lines, each ending in "\r\n"; the defaults are added.
  std::string headers;
  std::string post_data;
  bool want_raw_headers = false;
  // A body longer than this is not taken: the request counts as failed.
  size_t body_limit = 1 << 20;
  // Milliseconds the whole request may take, however slowly the server
  // answers (0: no deadline, only the time-outs of each step). Past it the
  // request fails as without a network.
  uint32_t deadline_ms = 0;
  // Asked while a request with a deadline waits: true ends it at once, as
  // failed (the person cancelled it).
  std::function<bool()> cancelled;
};

struct HttpResponse {
  std::string body;  // bytes
  int status = 0;    // 0 when the request was not answered
  std::optional<uint64_t> announced_length;
  // The response header block, lines separated by "\r\n" (when asked for;
  // blanks when it does not fit 1024 bytes).
  std::string raw_headers;
  bool too_long = false;  // the body passed the limit; `body` is empty
};

// Sends the request; `request.method` and `request.headers` are written
// back as sent.
HttpResponse http_request(HttpRequest& request);
// The body as text, up to its first zero byte.
std::string http_request_text(HttpRequest& request);
// The body's bytes.
std::string http_request_bytes(HttpRequest& request);

// "POST" (any letter case) as written, otherwise "GET".
std::string request_method(std::string_view method);
// The caller's header lines completed with the defaults the request sends.
std::string complete_request_headers(std::string_view headers, std::string_view url,
                                     std::string_view method, std::string_view post_data);

inline constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
inline constexpr uint32_t kTimeoutMs = 18000;
inline constexpr size_t kReadPiece = 512;
inline constexpr size_t kRawHeaderBuffer = 1024;

}  // namespace net
