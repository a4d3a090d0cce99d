// Splitting an "http://" address into host, port and path. Only http is
// understood; an address without the prefix is read as host and path.
#pragma once

#include <string>
#include <string_view>

namespace net {

// The host in lower case (ASCII letters only), without port.
std::string url_host(std::string_view url);
// The port after the host's ":", 80 when there is none.
int url_port(std::string_view url);
// From the first "/" after the host to the end (query included); "/" when
// there is none.
std::string url_path(std::string_view url);

}  // namespace net
