// The request's method and header lines and the two result forms, the same
// on every platform.
#include "net/http.h"

#include <string>

#include "runtime/text_ops.h"

namespace net {

namespace {

bool contains(std::string_view text, std::string_view sought) {
  return rt::find(text, sought, 1, true) > 0;
}

}  // namespace

std::string request_method(std::string_view method) {
  return rt::compare(method, "POST", false) == 0 ? std::string(method) : "GET";
}

std::string complete_request_headers(std::string_view headers, std::string_view url,
                                     std::string_view method, std::string_view post_data) {
  std::string out(headers);
  if (!contains(out, "Accept: "))
    out +=
        "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
        "application/x-shockwave-flash, application/vnd.ms-excel, "
        "application/vnd.ms-powerpoint, application/msword, */*\r\n";
  if (!contains(out, "Referer: ")) out += "Referer: " + std::string(url) + "\r\n";
  if (!contains(out, "Accept-Language: ")) out += "Accept-Language: zh-cn\r\n";
  if (method != "GET" && !post_data.empty()) {
    out += "Content-Type: application/x-www-form-urlencoded\r\n";
    out += "Content-Length: " + std::to_string(post_data.size()) + "\r\n";
  }
  return out;
}

std::string http_request_text(HttpRequest& request) {
  std::string body = http_request(request).body;
  return body.substr(0, body.find('\0'));
}

std::string http_request_bytes(HttpRequest& request) { return http_request(request).body; }

}  // namespace net
