#include "app/single_instance.h"

#include <QDir>
#include <QString>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/app_paths.h"
#include "app/instance_request.h"
#include "base/text.h"
#include "base/trace.h"

namespace tk410 {

namespace {

constexpr char kActivate[] = "activate";
// Longest request line read; a token is far shorter. A connection that sends
// more without a line end is dropped.
constexpr size_t kMaxLine = 4096;
// Connections waiting to be accepted.
constexpr int kBacklog = 8;

QString ToQ(const std::wstring& text) { return QString::fromStdWString(text); }

}  // namespace

namespace {

std::string Octal(unsigned mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%04o", mode & 07777);
  return text;
}

// Why `st` is no folder of this user's alone; empty when it is. `exact`
// asks for mode 0700, else only for no access by group and others.
std::string WhyNotPrivate(const struct stat& st, bool exact) {
  if (S_ISLNK(st.st_mode)) return "is a symbolic link";
  if (!S_ISDIR(st.st_mode)) return "is not a folder";
  if (st.st_uid != ::geteuid()) return "belongs to user " + std::to_string(st.st_uid);
  const unsigned mode = st.st_mode & 07777;
  if (exact ? mode != 0700 : (mode & 077) != 0) return "has mode " + Octal(mode) + ", not 0700";
  return {};
}

// Makes `folder` with mode 0700 unless it exists; true when it is then this
// user's private folder, else `why` says what is wrong with it.
bool MakePrivateFolder(const std::string& folder, std::string* why) {
  const bool made = ::mkdir(folder.c_str(), 0700) == 0;
  if (!made && errno != EEXIST) {
    *why = std::string("cannot be created: ") + std::strerror(errno);
    return false;
  }
  // The umask may have taken bits from a folder made just now.
  if (made) ::chmod(folder.c_str(), 0700);
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0) {
    *why = std::string("cannot be examined: ") + std::strerror(errno);
    return false;
  }
  *why = WhyNotPrivate(st, true);
  return why->empty();
}

}  // namespace

RuntimeDirectoryChoice ChooseRuntimeDirectory(const char* xdg_runtime_dir,
                                              const std::wstring& temp_folder,
                                              const std::wstring& cache_home) {
  RuntimeDirectoryChoice choice;
  if (xdg_runtime_dir && xdg_runtime_dir[0] == '/') {
    struct stat st {};
    std::string why = ::stat(xdg_runtime_dir, &st) == 0 ? WhyNotPrivate(st, false)
                                                        : "does not exist";
    if (why.empty()) {
      choice.folder = FromUtf8(xdg_runtime_dir);
      return choice;
    }
    choice.rejected.push_back(std::string("XDG_RUNTIME_DIR ") + xdg_runtime_dir + " " + why);
  }
  const std::string temp = ToUtf8(temp_folder) + "/tk410-" + std::to_string(::getuid());
  std::string why;
  if (MakePrivateFolder(temp, &why)) {
    choice.folder = FromUtf8(temp);
    return choice;
  }
  choice.rejected.push_back(temp + " " + why + "; not used");
  if (!cache_home.empty() && CreateDirectoryPath(cache_home)) {
    const std::string cache = ToUtf8(cache_home) + "/tk410";
    if (MakePrivateFolder(cache, &why)) {
      choice.folder = FromUtf8(cache);
      return choice;
    }
    choice.rejected.push_back(cache + " " + why + "; not used");
  } else {
    choice.rejected.push_back(ToUtf8(cache_home) + " cannot be created; not used");
  }
  return choice;
}

RuntimeDirectoryChoice FindRuntimeDirectory() {
  return ChooseRuntimeDirectory(std::getenv("XDG_RUNTIME_DIR"), QDir::tempPath().toStdWString(),
                                XdgCacheHome());
}

std::wstring RuntimeDirectory() { return FindRuntimeDirectory().folder; }

bool ParseActivationRequest(const std::string& line, std::string* token) {
  std::string text = line;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  const size_t length = sizeof(kActivate) - 1;
  if (text.compare(0, length, kActivate) != 0) return false;
  if (text.size() == length) {
    token->clear();
    return true;
  }
  if (text[length] != ' ') return false;
  *token = text.substr(length + 1);
  return true;
}

std::string ActivationTokenFromEnvironment() {
  const char* token = std::getenv("XDG_ACTIVATION_TOKEN");
  return token ? token : "";
}

SingleInstance::SingleInstance(std::wstring directory, std::wstring name)
    : directory_(std::move(directory)), name_(std::move(name)) {}

SingleInstance::~SingleInstance() {
  StopListening();
  lock_.reset();  // unlocks and removes the lock file
}

std::wstring SingleInstance::LockPath() const { return directory_ + L"/" + name_ + L".lock"; }

std::wstring SingleInstance::SocketPath() const { return directory_ + L"/" + name_ + L".socket"; }

bool SingleInstance::IsListening() const { return listen_fd_ >= 0; }

SingleInstance::Role SingleInstance::Acquire(const std::string& activation_token) {
  error_.clear();
  delivered_ = false;
  if (directory_.empty()) {
    error_ = "there is no private folder for the single-instance lock";
    return Role::kRefused;
  }
  const std::string lock_path = ToUtf8(LockPath());
  lock_ = std::make_unique<QLockFile>(ToQ(LockPath()));
  // Only a lock of a process that is gone counts as stale, never an old one.
  lock_->setStaleLockTime(0);
  if (!lock_->tryLock(0)) {
    const QLockFile::LockError failure = lock_->error();
    lock_.reset();
    if (failure == QLockFile::PermissionError) {
      error_ = "the lock file " + lock_path + " cannot be created: permission denied";
      return Role::kRefused;
    }
    if (failure != QLockFile::LockFailedError) {
      Trace(kTraceError, "single-instance lock not usable: %s", lock_path.c_str());
      return Role::kFirst;
    }
    // Held. A lock file of another user, or one this user cannot read, is
    // no instance of this user's program: it gets no activation request.
    struct stat st {};
    if (::lstat(lock_path.c_str(), &st) == 0) {
      if (st.st_uid != ::geteuid()) {
        error_ = "the lock file " + lock_path + " belongs to user " + std::to_string(st.st_uid);
        return Role::kRefused;
      }
      if (::access(lock_path.c_str(), R_OK) != 0) {
        error_ = "the lock file " + lock_path + " cannot be read: permission denied";
        return Role::kRefused;
      }
    }
    // A running instance accepts at once; a refused or missing socket means
    // it is still starting: nothing to activate yet.
    std::string request = kActivate;
    if (!activation_token.empty()) request += " " + activation_token;
    delivered_ = SendInstanceRequest(ToUtf8(SocketPath()), request);
    if (!delivered_) Trace(kTraceInfo, "running instance did not answer");
    return Role::kSecond;
  }
  if (!Listen()) Trace(kTraceError, "single-instance socket not opened: %s", ToUtf8(SocketPath()).c_str());
  return Role::kFirst;
}

bool SingleInstance::Listen() {
  const std::string path = ToUtf8(SocketPath());
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  // The socket file of an instance that died is in the way; the lock says it is ours.
  ::unlink(path.c_str());
  // Only this user may connect (the folder is this user's alone as well).
  // The umask is left alone: it is the whole process's, and other threads
  // create files while this runs.
  const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  if (!bound || ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, kBacklog) != 0) {
    ::close(fd);
    return false;
  }
  listen_fd_ = fd;
  listen_notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(listen_notifier_.get(), &QSocketNotifier::activated, [this] { AcceptClients(); });
  return true;
}

void SingleInstance::StopListening() {
  for (auto& client : clients_) {
    client->notifier.reset();
    ::close(client->fd);
  }
  clients_.clear();
  if (listen_fd_ < 0) return;
  listen_notifier_.reset();
  ::close(listen_fd_);
  listen_fd_ = -1;
  ::unlink(ToUtf8(SocketPath()).c_str());
}

void SingleInstance::AcceptClients() {
  for (;;) {
    const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      if (errno == EINTR) continue;
      return;  // none left (EAGAIN) or a failed one, which the next wake-up retries
    }
    auto client = std::make_unique<Client>();
    client->fd = fd;
    Client* raw = client.get();
    client->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(client->notifier.get(), &QSocketNotifier::activated, [this, raw] {
      if (!ReadClient(*raw)) DropClient(raw);
    });
    clients_.push_back(std::move(client));
    if (!ReadClient(*raw)) DropClient(raw);
  }
}

bool SingleInstance::ReadClient(Client& client) {
  char buffer[1024];
  for (;;) {
    const ssize_t n = ::recv(client.fd, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK;
    if (n == 0) return false;  // the sender is done
    client.pending.append(buffer, static_cast<size_t>(n));
    size_t end;
    while ((end = client.pending.find('\n')) != std::string::npos) {
      const std::string line = client.pending.substr(0, end + 1);
      client.pending.erase(0, end + 1);
      if (line.size() <= kMaxLine) HandleLine(line);
    }
    if (client.pending.size() > kMaxLine) return false;
  }
}

void SingleInstance::DropClient(Client* client) {
  auto it = std::find_if(clients_.begin(), clients_.end(), [client](const auto& c) { return c.get() == client; });
  if (it == clients_.end()) return;
  // The notifier may be the one whose signal runs now: it goes once that is over.
  (*it)->notifier->setEnabled(false);
  (*it)->notifier.release()->deleteLater();
  ::close((*it)->fd);
  clients_.erase(it);
}

void SingleInstance::SetActivationHandler(ActivationHandler handler) {
  handler_ = std::move(handler);
}

void SingleInstance::SetRequestHandler(RequestHandler handler) { request_handler_ = std::move(handler); }

void SingleInstance::HandleLine(const std::string& line) {
  std::string token;
  if (!ParseActivationRequest(line, &token)) {
    std::string request = line;
    while (!request.empty() && (request.back() == '\n' || request.back() == '\r')) request.pop_back();
    if (request_handler_ && !request.empty()) {
      ++requests_;
      request_handler_(request);
    }
    return;
  }
  ++activations_;
  if (handler_) handler_(token);
}

bool SingleInstance::WaitForActivation(int timeout_ms) { return WaitForLine(activations_, timeout_ms); }

bool SingleInstance::WaitForRequest(int timeout_ms) { return WaitForLine(requests_, timeout_ms); }

bool SingleInstance::WaitForLine(const int& counter, int timeout_ms) {
  if (listen_fd_ < 0) return false;
  const int before = counter;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (counter == before) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) return false;
    std::vector<pollfd> fds{{listen_fd_, POLLIN, 0}};
    for (const auto& client : clients_) fds.push_back({client->fd, POLLIN, 0});
    if (::poll(fds.data(), fds.size(), static_cast<int>(left)) <= 0) continue;
    if (fds[0].revents) AcceptClients();
    std::vector<Client*> ready;
    for (size_t i = 1; i < fds.size(); ++i) {
      if (!fds[i].revents) continue;
      for (const auto& client : clients_)
        if (client->fd == fds[i].fd) ready.push_back(client.get());
    }
    for (Client* client : ready)
      if (!ReadClient(*client)) DropClient(client);
  }
  return true;
}

}  // namespace tk410
