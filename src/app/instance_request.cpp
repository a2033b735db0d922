#include "app/instance_request.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace tk410 {

namespace {

constexpr char kProfileVerb[] = "profile ";
constexpr char kRulesVerb[] = "rules ";
constexpr int kSendTimeoutSeconds = 1;

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

}  // namespace

InstanceRequest ParseInstanceRequest(const std::string& line) {
  std::string text = line;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  InstanceRequest request;
  if (StartsWith(text, kRulesVerb)) {
    request.database = text.substr(std::strlen(kRulesVerb));
    if (!request.database.empty()) request.kind = InstanceRequest::kRules;
    return request;
  }
  if (!StartsWith(text, kProfileVerb)) return request;
  const std::string rest = text.substr(std::strlen(kProfileVerb));
  const size_t space = rest.find(' ');
  if (space == 0 || space == std::string::npos || space > 9) return request;
  long long number = 0;
  for (size_t i = 0; i < space; ++i) {
    if (rest[i] < '0' || rest[i] > '9') return request;
    number = number * 10 + (rest[i] - '0');
  }
  request.database = rest.substr(space + 1);
  if (number < 1 || number > INT_MAX || request.database.empty()) return InstanceRequest{};
  request.kind = InstanceRequest::kProfile;
  request.profile = static_cast<int>(number);
  return request;
}

std::string ProfileRequestLine(int profile, const std::string& database) {
  return kProfileVerb + std::to_string(profile) + " " + database;
}

std::string RulesRequestLine(const std::string& database) { return kRulesVerb + database; }

bool SendInstanceRequest(const std::string& socket_path, const std::string& line) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (socket_path.empty() || socket_path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, socket_path.c_str(), socket_path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  timeval timeout{kSendTimeoutSeconds, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  bool sent = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  const std::string text = line + "\n";
  size_t done = 0;
  while (sent && done < text.size()) {
    const ssize_t n = ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) sent = false;
    else done += static_cast<size_t>(n);
  }
  ::close(fd);
  return sent;
}

}  // namespace tk410
