#include "tests/windows/loopback_server.h"

#include <cstdlib>

namespace {

bool read_request(SOCKET client, ReceivedRequest& request) {
  std::string data;
  char buffer[4096];
  size_t head_end;
  while ((head_end = data.find("\r\n\r\n")) == std::string::npos) {
    int n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return false;
    data.append(buffer, size_t(n));
  }
  request.head = data.substr(0, head_end + 2);
  request.body = data.substr(head_end + 4);
  size_t at = request.head.find("Content-Length: ");
  size_t length =
      at == std::string::npos ? 0 : std::strtoul(request.head.c_str() + at + 16, nullptr, 10);
  while (request.body.size() < length) {
    int n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return false;
    request.body.append(buffer, size_t(n));
  }
  return true;
}

}  // namespace

std::string http_answer(int status, const std::string& body, const std::string& extra_headers,
                        bool with_length) {
  std::string head = "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Error") +
                     "\r\nConnection: close\r\n" + extra_headers;
  if (with_length) head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  return head + "\r\n" + body;
}

LoopbackServer::LoopbackServer(RequestHandler handler, int port) : handler_(std::move(handler)) {
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(u_short(port));
  BOOL reuse = TRUE;
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse),
             sizeof reuse);
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return;
  listen(listener_, 8);
  int size = sizeof address;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { serve(); });
}

LoopbackServer::~LoopbackServer() {
  stopping_ = true;
  closesocket(listener_);
  if (thread_.joinable()) thread_.join();
  WSACleanup();
}

std::string LoopbackServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<ReceivedRequest> LoopbackServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LoopbackServer::serve() {
  while (!stopping_) {
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    answer(client);
    closesocket(client);
  }
}

void LoopbackServer::answer(SOCKET client) {
  ReceivedRequest request;
  if (!read_request(client, request)) return;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  std::optional<std::string> reply = handler_(request);
  if (!reply) {
    while (!stopping_) Sleep(50);
    return;
  }
  for (size_t sent = 0; sent < reply->size() && !stopping_;) {
    int piece = trickle_ms_ ? 1 : int(reply->size() - sent);
    int n = send(client, reply->data() + sent, piece, 0);
    if (n <= 0) return;
    sent += size_t(n);
    if (trickle_ms_) Sleep(DWORD(trickle_ms_.load()));
  }
  shutdown(client, SD_SEND);
}
