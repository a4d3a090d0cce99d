// The method and header lines the request sends.
#include <gtest/gtest.h>

#include "net/http.h"

namespace {

const std::string accept =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, "
    "application/vnd.ms-powerpoint, application/msword, */*\r\n";

TEST(RequestMethod, PostKeepsItsCaseEverythingElseIsGet) {
  EXPECT_EQ(net::request_method("post"), "post");
  EXPECT_EQ(net::request_method("POST"), "POST");
  EXPECT_EQ(net::request_method(""), "GET");
  EXPECT_EQ(net::request_method("put"), "GET");
  EXPECT_EQ(net::request_method("POST "), "GET");
}

TEST(RequestHeaders, DefaultsAreAddedInOrder) {
  EXPECT_EQ(net::complete_request_headers("", "http://h/p", "GET", "ignored"),
            accept + "Referer: http://h/p\r\nAccept-Language: zh-cn\r\n");
}

TEST(RequestHeaders, CallersLinesInAnyCaseSuppressTheDefault) {
  std::string mine = "accept: text/html\r\nREFERER: x\r\naccept-language: en\r\n";
  EXPECT_EQ(net::complete_request_headers(mine, "u", "GET", ""), mine);
  // "Accept-Language: " alone does not count as an Accept line.
  EXPECT_EQ(net::complete_request_headers("Accept-Language: en\r\n", "u", "GET", ""),
            "Accept-Language: en\r\n" + accept + "Referer: u\r\n");
}

TEST(RequestHeaders, ContentLinesOnlyForAPostWithData) {
  std::string base = accept + "Referer: u\r\nAccept-Language: zh-cn\r\n";
  EXPECT_EQ(net::complete_request_headers("", "u", "post", "a=1&b=中"),
            base +
                "Content-Type: application/x-www-form-urlencoded\r\n"
                "Content-Length: 8\r\n");
  EXPECT_EQ(net::complete_request_headers("", "u", "POST", ""), base);
  // Added even when the caller wrote them already.
  EXPECT_EQ(net::complete_request_headers("Content-Length: 3\r\n", "u", "POST", "abc"),
            "Content-Length: 3\r\n" + base +
                "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 3\r\n");
}

}  // namespace
