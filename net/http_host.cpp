// The host build has no Internet service: every request fails as it does
// without a network.
#include "net/http.h"

namespace net {

HttpResponse http_request(HttpRequest& request) {
  request.method = request_method(request.method);
  request.headers =
      complete_request_headers(request.headers, request.url, request.method, request.post_data);
  return {};
}

}  // namespace net
