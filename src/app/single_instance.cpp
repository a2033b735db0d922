#include "app/single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QString>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/app_paths.h"
#include "base/text.h"
#include "base/trace.h"

namespace tk410 {

namespace {

constexpr char kActivate[] = "activate";
constexpr int kConnectTimeoutMs = 1000;
constexpr int kRequestTimeoutMs = 1000;
// Longest request line read; a token is far shorter.
constexpr qint64 kMaxLine = 4096;

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
  if (server_) server_->close();
  server_.reset();
  lock_.reset();  // unlocks and removes the lock file
}

std::wstring SingleInstance::LockPath() const { return directory_ + L"/" + name_ + L".lock"; }

std::wstring SingleInstance::SocketPath() const { return directory_ + L"/" + name_ + L".socket"; }

bool SingleInstance::IsListening() const { return server_ && server_->isListening(); }

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
    QLocalSocket socket;
    socket.connectToServer(ToQ(SocketPath()));
    if (socket.waitForConnected(kConnectTimeoutMs)) {
      std::string request = kActivate;
      if (!activation_token.empty()) request += " " + activation_token;
      request += "\n";
      socket.write(request.data(), static_cast<qint64>(request.size()));
      delivered_ = socket.waitForBytesWritten(kRequestTimeoutMs) || socket.bytesToWrite() == 0;
      socket.disconnectFromServer();
    } else {
      // The first instance is still starting: nothing to activate yet.
      Trace(kTraceInfo, "running instance did not answer");
    }
    return Role::kSecond;
  }

  // The socket file of an instance that died is in the way; the lock says it is ours.
  QLocalServer::removeServer(ToQ(SocketPath()));
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(ToQ(SocketPath()))) {
    Trace(kTraceError, "single-instance socket not opened: %s",
          server_->errorString().toUtf8().constData());
    server_.reset();
    return Role::kFirst;
  }
  QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(),
                   [this] { OnNewConnection(); });
  return Role::kFirst;
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

void SingleInstance::ReadLines(QLocalSocket* socket) {
  while (socket->canReadLine()) HandleLine(socket->readLine(kMaxLine).toStdString());
  if (socket->bytesAvailable() > kMaxLine) socket->abort();
}

void SingleInstance::OnNewConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { ReadLines(socket); });
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    ReadLines(socket);
  }
}

bool SingleInstance::WaitForActivation(int timeout_ms) { return WaitForLine(activations_, timeout_ms); }

bool SingleInstance::WaitForRequest(int timeout_ms) { return WaitForLine(requests_, timeout_ms); }

bool SingleInstance::WaitForLine(const int& counter, int timeout_ms) {
  if (!server_) return false;
  const int before = counter;
  // Waiting hands a new connection to OnNewConnection at once (which takes it
  // from the pending list, so the wait's own result says nothing).
  server_->waitForNewConnection(timeout_ms);
  for (QLocalSocket* socket : server_->findChildren<QLocalSocket*>()) {
    while (counter == before && socket->state() == QLocalSocket::ConnectedState &&
           socket->waitForReadyRead(timeout_ms)) {
      ReadLines(socket);
    }
    ReadLines(socket);
  }
  return counter > before;
}

}  // namespace tk410
