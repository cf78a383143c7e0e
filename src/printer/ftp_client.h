#pragma once
// FTP transport to a printer: one file transfer per operation with a fresh
// session. Each attempt runs on a thread of its own while the caller waits at
// most the time-out, so a printer that stops answering cannot hang the job
// worker. Connection and login failures are retried; failed transfers never are.
#include <cstdint>
#include <functional>
#include <string>

namespace orvella::printer {

enum class FtpState : int {
  Idle = 0,
  Opening = 1,
  OpenFailed = 2,
  Connecting = 3,
  ConnectFailed = 4,
  Putting = 5,
  PutFailed = 6,
  Getting = 7,
  GetFailed = 8,
  Done = 9,
};

// Progress callback, called with (kind, value):
//   0, 0      the transfer has just succeeded (on the attempt's thread)
//   1, n      attempt n failed to connect; a result of 0 gives up (on the caller's thread)
//   2, total  bytes of the upload handed to the network so far in this attempt
// The result counts only for kind 1.
using FtpProgressCallback = std::function<int(int kind, std::int64_t value)>;

inline constexpr int kDefaultFtpPort = 21;
// Once a transfer's outcome is known, how long the session's goodbye (QUIT
// and its answer) may still keep the caller, within the attempt's time-out.
inline constexpr int kGoodbyeGraceMs = 1000;

class FtpClient {
 public:
  FtpClient() = default;
  virtual ~FtpClient() = default;
  FtpClient(const FtpClient&) = delete;
  FtpClient& operator=(const FtpClient&) = delete;

  void SetHost(const std::string& host) { host_ = host; }
  void SetUserName(const std::string& user) { user_ = user; }
  void SetPassword(const std::string& password) { password_ = password; }
  void SetLocalFile(const std::string& path) { localFile_ = path; }
  void SetRemoteFile(const std::string& name) { remoteFile_ = name; }

  // Uploads the local file as the remote file; true only when an attempt ended in Done.
  bool PutFile();
  // Downloads the remote file over the local file; true only when an attempt ended in Done.
  // A failed download leaves an existing local file as it was.
  bool GetFile();

  // How the last attempt ended, and what it sent; read after PutFile/GetFile.
  FtpState State() const { return state_; }
  std::int64_t BytesSent() const { return bytesSent_; }
  // Why the last attempt failed, with curl's own text; empty after success.
  const std::string& Detail() const { return detail_; }

  // Set directly by the caller before an operation.
  int port = kDefaultFtpPort;
  int passive = 0;       // 1 = passive mode, anything else active
  int maxAttempts = 0;   // attempts allowed while opening or connecting fails; 0 or 1 = one
  int retryWait = 1000;  // ms before a further attempt
  int timeout = 60000;   // ms for one whole attempt: connect, login and transfer
  FtpProgressCallback progress;

 private:
  enum class Direction { Put, Get };
  class Attempt;

  bool Run(Direction direction);
  bool RunAttempt(Direction direction);

  std::string host_;
  std::string user_;
  std::string password_;
  std::string localFile_;
  std::string remoteFile_;
  FtpState state_ = FtpState::Idle;
  std::int64_t bytesSent_ = 0;
  std::string detail_;
};

}  // namespace orvella::printer
