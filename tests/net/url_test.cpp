#include "net/url.h"

#include <gtest/gtest.h>

namespace {

struct Split {
  const char* url;
  const char* host;
  int port;
  const char* path;
};

TEST(Url, SplitsIntoHostPortAndPath) {
  const Split table[] = {
      {"http://Shop:81/a/b?c=1", "shop", 81, "/a/b?c=1"},
      {"HTTP://Example.COM/x", "example.com", 80, "/x"},
      {"Example.com", "example.com", 80, "/"},
      {"example.com/", "example.com", 80, "/"},
      {"http://example.com", "example.com", 80, "/"},
      {"http://127.0.0.1:8080/corvel/zuzedavud/bannerkd.htm", "127.0.0.1", 8080,
       "/corvel/zuzedavud/bannerkd.htm"},
      {"host:99", "host", 99, "/"},
      {"http://host:/p", "host", 0, "/p"},
      {"http://", "", 80, "/"},
      {"", "", 80, "/"},
      // The host is looked for in the address ignoring case; a path that
      // repeats it is not confused with it.
      {"http://A.b/a.b/c", "a.b", 80, "/a.b/c"},
      // A host that also occurs inside "http:".
      {"http://t/x", "t", 80, "/x"},
      {"http://TP:8/x", "tp", 8, "/x"},
      // Double-byte characters are left alone by the lower-casing.
      {"http://中文A.cn/页", "中文a.cn", 80, "/页"},
  };
  for (const Split& s : table) {
    EXPECT_EQ(net::url_host(s.url), s.host) << s.url;
    EXPECT_EQ(net::url_port(s.url), s.port) << s.url;
    EXPECT_EQ(net::url_path(s.url), s.path) << s.url;
  }
}

}  // namespace
