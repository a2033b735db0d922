#pragma once
// One running instance per user session. The first instance holds a lock file
// and listens on a local socket (user-only access) in the runtime folder; a
// later start finds the lock taken, sends "activate" with its activation token
// (XDG_ACTIVATION_TOKEN, empty when unset) to the first and ends. The first
// raises its window on that request, shown normally even when it was
// started hidden.
//
// Request on the socket, one line of UTF-8 text: "activate" or
// "activate <token>", ended by '\n'.

#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <functional>
#include <memory>
#include <string>

namespace tk410 {

// $XDG_RUNTIME_DIR when it is an existing folder, else a private folder
// "tk410-<uid>" (mode 0700) in the system's temporary folder.
std::wstring RuntimeDirectory();

// The token part of a request line; false when the line is no activation.
bool ParseActivationRequest(const std::string& line, std::string* token);

class SingleInstance {
 public:
  enum class Role { kFirst, kSecond };
  using ActivationHandler = std::function<void(const std::string& token)>;

  // `directory` holds "<name>.lock" and the socket "<name>.socket".
  SingleInstance(std::wstring directory, std::wstring name);
  ~SingleInstance();

  // Takes the lock. When another instance holds it, sends it the activation
  // request (when its socket answers) and returns kSecond. A stale lock of a
  // process that no longer runs is taken over. When the lock folder is not
  // usable at all the start goes on as the first instance without a socket.
  Role Acquire(const std::string& activation_token);

  // First instance: called for every activation request on the thread that
  // runs the Qt event loop (or inside WaitForActivation).
  void SetActivationHandler(ActivationHandler handler);
  // Without an event loop: waits up to `timeout_ms` for one request and
  // handles it; false when none came.
  bool WaitForActivation(int timeout_ms);

  bool IsListening() const;
  std::wstring LockPath() const;
  std::wstring SocketPath() const;

 private:
  void OnNewConnection();
  void HandleLine(const std::string& line);
  void ReadLines(QLocalSocket* socket);

  std::wstring directory_;
  std::wstring name_;
  std::unique_ptr<QLockFile> lock_;
  std::unique_ptr<QLocalServer> server_;
  ActivationHandler handler_;
  int activations_ = 0;  // requests handled so far
};

// The activation token of this start (XDG_ACTIVATION_TOKEN), or empty.
std::string ActivationTokenFromEnvironment();

}  // namespace tk410
