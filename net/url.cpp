#include "net/url.h"

#include <cmath>

#include "runtime/convert.h"
#include "runtime/text_ops.h"

namespace net {

namespace {

constexpr std::string_view prefix = "http://";

bool has_prefix(std::string_view url) {
  return url.size() >= prefix.size() &&
         rt::compare(url.substr(0, prefix.size()), prefix, false) == 0;
}

// Host and port as written: after the prefix (when there is one) up to the
// next "/".
std::string_view authority(std::string_view url) {
  if (has_prefix(url)) url.remove_prefix(prefix.size());
  return url.substr(0, url.find('/'));
}

}  // namespace

std::string url_host(std::string_view url) {
  std::string_view host = authority(url);
  return std::string(rt::lower(host.substr(0, host.find(':'))).view());
}

int url_port(std::string_view url) {
  std::string_view host = authority(url);
  size_t colon = host.find(':');
  if (colon == std::string_view::npos) return 80;
  std::string port(host.substr(colon + 1));
  return rt::to_int(rt_text_arg(port.c_str()));
}

// The host is looked for after the prefix: a host such as "t" or "tp" would
// otherwise be found inside "http:" and the path would start at "//".
std::string url_path(std::string_view url) {
  size_t start = has_prefix(url) ? prefix.size() : 0;
  std::string host = url_host(url);
  int at = host.empty() ? -1 : rt::find(url, host, int(start) + 1, true);
  size_t slash = url.find('/', at > 0 ? size_t(at - 1) : start);
  return slash == std::string_view::npos ? "/" : std::string(url.substr(slash));
}

}  // namespace net
