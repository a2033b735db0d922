#include "app/single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QString>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

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

std::wstring RuntimeDirectory() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && runtime[0] == '/') {
    struct stat st {};
    if (::stat(runtime, &st) == 0 && S_ISDIR(st.st_mode)) return FromUtf8(runtime);
  }
  const std::wstring folder =
      QDir::tempPath().toStdWString() + L"/tk410-" + FormatInt(static_cast<long long>(::getuid()));
  ::mkdir(ToUtf8(folder).c_str(), 0700);
  return folder;
}

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
  lock_ = std::make_unique<QLockFile>(ToQ(LockPath()));
  // Only a lock of a process that is gone counts as stale, never an old one.
  lock_->setStaleLockTime(0);
  if (!lock_->tryLock(0)) {
    if (lock_->error() != QLockFile::LockFailedError) {
      Trace(kTraceError, "single-instance lock not usable: %s", ToUtf8(LockPath()).c_str());
      lock_.reset();
      return Role::kFirst;
    }
    lock_.reset();
    QLocalSocket socket;
    socket.connectToServer(ToQ(SocketPath()));
    if (socket.waitForConnected(kConnectTimeoutMs)) {
      std::string request = kActivate;
      if (!activation_token.empty()) request += " " + activation_token;
      request += "\n";
      socket.write(request.data(), static_cast<qint64>(request.size()));
      socket.waitForBytesWritten(kRequestTimeoutMs);
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

void SingleInstance::HandleLine(const std::string& line) {
  std::string token;
  if (!ParseActivationRequest(line, &token)) return;
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

bool SingleInstance::WaitForActivation(int timeout_ms) {
  if (!server_) return false;
  const int before = activations_;
  // Waiting hands a new connection to OnNewConnection at once (which takes it
  // from the pending list, so the wait's own result says nothing).
  server_->waitForNewConnection(timeout_ms);
  for (QLocalSocket* socket : server_->findChildren<QLocalSocket*>()) {
    while (activations_ == before && socket->state() == QLocalSocket::ConnectedState &&
           socket->waitForReadyRead(timeout_ms)) {
      ReadLines(socket);
    }
    ReadLines(socket);
  }
  return activations_ > before;
}

}  // namespace tk410
