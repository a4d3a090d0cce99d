// A small HTTP server on 127.0.0.1 for the tests: it records each request
// and answers it through the test's handler, one connection at a time.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

struct ReceivedRequest {
  std::string head;  // request line and header lines
  std::string body;
  std::string line() const { return head.substr(0, head.find("\r\n")); }
};

// The whole answer's bytes; nothing: hold the connection without answering
// until the server stops.
using RequestHandler = std::function<std::optional<std::string>(const ReceivedRequest&)>;

// An answer with a status, a body and, unless told otherwise, its length.
std::string http_answer(int status, const std::string& body, const std::string& extra_headers = "",
                        bool with_length = true);

class LoopbackServer {
 public:
  // Port 0: any free port.
  explicit LoopbackServer(RequestHandler handler, int port = 0);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:<port>" + path
  std::string url(const std::string& path) const;
  std::vector<ReceivedRequest> requests() const;
  // From now on answers go out one byte every `ms` milliseconds (0: whole).
  void trickle(int ms) { trickle_ms_ = ms; }

 private:
  void serve();
  void answer(SOCKET client);

  RequestHandler handler_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> trickle_ms_{0};
  mutable std::mutex mutex_;
  std::vector<ReceivedRequest> requests_;
  std::thread thread_;
};
