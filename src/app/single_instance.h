#pragma once
// One running instance per user session. The first instance holds a lock file
// and listens on a Unix socket (user-only access) in the runtime folder; a
// later start finds the lock taken, sends "activate" with its activation token
// (XDG_ACTIVATION_TOKEN, empty when unset) to the first and ends. The first
// raises its window on that request, shown normally even when it was
// started hidden.
//
// Request on the socket, one line of UTF-8 text: "activate" or
// "activate <token>", ended by '\n'; other lines go to the request handler
// (app/instance_request.h).
//
// The folder must be this user's alone: whoever can write into it can hold
// the lock (the program would never start) and listen on the socket (and
// receive the activation tokens).

#include <QLockFile>
#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tk410 {

// The folder of the lock and the socket, and the folders passed over.
struct RuntimeDirectoryChoice {
  std::wstring folder;                // empty when no private folder could be had
  std::vector<std::string> rejected;  // one line for the user per folder passed over
};

// The first usable of: `xdg_runtime_dir` (may be null or empty) when it is a
// folder of this user with no access for others; "tk410-<uid>" in
// `temp_folder`; "tk410" in `cache_home`. The last two are created with mode
// 0700 and used only when they are then real folders (not links) owned by
// this user with mode 0700: a folder someone else made first is passed over.
RuntimeDirectoryChoice ChooseRuntimeDirectory(const char* xdg_runtime_dir,
                                              const std::wstring& temp_folder,
                                              const std::wstring& cache_home);
// The same from the environment: XDG_RUNTIME_DIR, the system's temporary
// folder ($TMPDIR, else /tmp) and XdgCacheHome().
RuntimeDirectoryChoice FindRuntimeDirectory();
std::wstring RuntimeDirectory();  // FindRuntimeDirectory().folder

// The token part of a request line; false when the line is no activation.
bool ParseActivationRequest(const std::string& line, std::string* token);

class SingleInstance {
 public:
  // kRefused: the lock cannot be taken for want of permission (another
  // user's lock file, a folder this user may not write to) or there is no
  // folder; error() says why. It is no running instance of this user's.
  enum class Role { kFirst, kSecond, kRefused };
  using ActivationHandler = std::function<void(const std::string& token)>;

  // `directory` holds "<name>.lock" and the socket "<name>.socket".
  SingleInstance(std::wstring directory, std::wstring name);
  ~SingleInstance();

  // Takes the lock. When another instance holds it, sends it the activation
  // request (when its socket answers) and returns kSecond. A stale lock of a
  // process that no longer runs is taken over. When the lock folder is
  // missing the start goes on as the first instance without a socket.
  Role Acquire(const std::string& activation_token);
  // Why the last Acquire returned kRefused (one line, names the file).
  const std::string& error() const { return error_; }
  // After kSecond: whether the running instance took the activation request
  // (false when its socket did not answer).
  bool ActivationDelivered() const { return delivered_; }

  // First instance: called for every activation request on the thread that
  // runs the Qt event loop (or inside WaitForActivation).
  void SetActivationHandler(ActivationHandler handler);
  // First instance: every other request line, without its '\n', on the same
  // thread as the activation handler.
  using RequestHandler = std::function<void(const std::string& line)>;
  void SetRequestHandler(RequestHandler handler);
  // Without an event loop: waits up to `timeout_ms` for one request and
  // handles it; false when none came.
  bool WaitForActivation(int timeout_ms);
  // The same for one request line of the request handler.
  bool WaitForRequest(int timeout_ms);

  bool IsListening() const;
  std::wstring LockPath() const;
  std::wstring SocketPath() const;

 private:
  // One connection of a later start or of tk410ctl, read line by line.
  struct Client {
    int fd = -1;
    std::string pending;  // bytes after the last '\n'
    std::unique_ptr<QSocketNotifier> notifier;
  };

  bool Listen();
  void StopListening();
  void AcceptClients();
  // Reads what `client` has sent and handles its complete lines; false when
  // the connection is done (ended, failed, or a line over the limit).
  bool ReadClient(Client& client);
  void DropClient(Client* client);
  void HandleLine(const std::string& line);
  // Waits up to `timeout_ms` for `counter` to grow, handling what arrives.
  bool WaitForLine(const int& counter, int timeout_ms);

  std::wstring directory_;
  std::wstring name_;
  std::unique_ptr<QLockFile> lock_;
  int listen_fd_ = -1;
  std::unique_ptr<QSocketNotifier> listen_notifier_;
  std::vector<std::unique_ptr<Client>> clients_;
  ActivationHandler handler_;
  RequestHandler request_handler_;
  int activations_ = 0;  // activation requests handled so far
  int requests_ = 0;     // other request lines handled so far
  bool delivered_ = false;
  std::string error_;
};

// The activation token of this start (XDG_ACTIVATION_TOKEN), or empty.
std::string ActivationTokenFromEnvironment();

}  // namespace tk410
