#pragma once
// A tile server on 127.0.0.1 for map tests: answers every GET with one
// image and a status of the test's choosing, and records each request's
// path and user agent. Runs on its own thread until it goes out of scope.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class LocalTileServer {
 public:
  struct Request {
    std::string path;
    std::string userAgent;
  };

  // body: the image every answer carries; status: the HTTP status.
  LocalTileServer(std::string body, int status) : m_body(std::move(body)), m_status(status) {
    m_socket = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(m_socket, 16);
    getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
  }
  ~LocalTileServer() {
    m_stop = true;
    m_thread.join();
    close(m_socket);
  }

  std::string urlTemplate() const {
    return "http://127.0.0.1:" + std::to_string(m_port) + "/{z}/{x}/{y}.png";
  }
  std::vector<Request> requests() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
  }

 private:
  void Serve() {
    while (!m_stop) {
      pollfd ready{m_socket, POLLIN, 0};
      if (poll(&ready, 1, 50) <= 0) continue;
      const int client = accept(m_socket, nullptr, nullptr);
      if (client < 0) continue;
      Answer(client);
      close(client);
    }
  }

  // One request per connection: read the head, answer, close.
  void Answer(int client) {
    std::string head;
    char buffer[2048];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
      pollfd ready{client, POLLIN, 0};
      if (poll(&ready, 1, 2000) <= 0) return;
      const ssize_t got = recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) return;
      head.append(buffer, size_t(got));
    }
    Request request;
    const size_t pathStart = head.find(' ') + 1;
    request.path = head.substr(pathStart, head.find(' ', pathStart) - pathStart);
    const size_t agent = head.find("\r\nUser-Agent: ");
    if (agent != std::string::npos) {
      const size_t start = agent + 14;
      request.userAgent = head.substr(start, head.find("\r\n", start) - start);
    }
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_requests.push_back(request);
    }
    const std::string answer = "HTTP/1.1 " + std::to_string(m_status) +
                               (m_status < 400 ? " OK" : " Forbidden") +
                               "\r\nContent-Type: image/png\r\nCache-Control: max-age=86400"
                               "\r\nConnection: close\r\nContent-Length: " +
                               std::to_string(m_body.size()) + "\r\n\r\n" + m_body;
    send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
  }

  std::string m_body;
  int m_status;
  int m_socket = -1;
  int m_port = 0;
  std::atomic<bool> m_stop{false};
  mutable std::mutex m_mutex;
  std::vector<Request> m_requests;  // guarded by m_mutex
  std::thread m_thread;
};

}  // namespace testsupport
