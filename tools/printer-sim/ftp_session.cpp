#include "ftp_session.h"

#include <fcntl.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace orvella::sim {
namespace {

constexpr auto kIdleLimit = std::chrono::seconds(300);  // control connection without a command
constexpr auto kDataAccept = std::chrono::seconds(10);  // client to open the data connection
constexpr auto kDataIdle = std::chrono::seconds(60);    // data connection without progress
constexpr auto kReplyLimit = std::chrono::seconds(30);  // client to take a reply
constexpr std::size_t kMaxCommandLine = 1024;
constexpr std::size_t kChunk = 64 * 1024;
const char* const kUploadName = "quenbyjob";
const char* const kAnonymous = "anonymous";

std::string Upper(std::string text) {
  for (auto& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Remote names arrive as "stat" or "/stat"; the printer has one flat folder.
std::string FlatName(std::string name) {
  name.erase(0, name.find_first_not_of('/'));
  return name;
}

// Chunk size and pacing for the transfer-rate fault.
class Pacer {
 public:
  Pacer(std::optional<std::uint64_t> rate, const std::atomic<bool>& stop)
      : rate_(rate), stop_(stop), start_(Clock::now()) {}
  std::size_t Chunk() const {
    if (!rate_) return kChunk;
    return static_cast<std::size_t>(std::clamp<std::uint64_t>(*rate_ / 10, 1, kChunk));
  }
  void After(std::uint64_t total) {
    if (!rate_) return;
    const auto due = std::chrono::duration<double>(static_cast<double>(total) / static_cast<double>(*rate_));
    SleepUntil(start_ + std::chrono::duration_cast<Clock::duration>(due), stop_);
  }

 private:
  std::optional<std::uint64_t> rate_;
  const std::atomic<bool>& stop_;
  Clock::time_point start_;
};

class FtpSession {
 public:
  FtpSession(UniqueFd control, const sockaddr_in& peer, SimContext& context)
      : control_(std::move(control)),
        peer_(peer),
        local_(LocalEndpoint(control_.Get())),
        context_(context),
        tag_("[ftp " + EndpointText(peer) + "] ") {}

  void Run() {
    if (context_.dir.ReadFaults().ftpHang) return Hang("ftp-hang");
    if (!Reply("220 Orvella printer simulator ready")) return;
    std::string line;
    while (ReadLine(line)) {
      if (context_.dir.ReadFaults().ftpHang) return Hang("ftp-hang");
      if (!Dispatch(line)) return;
    }
  }

 private:
  void Log(const std::string& text) { context_.log.Line(tag_ + text); }

  // Keep the line open and say nothing until the client gives up.
  void Hang(const char* fault) {
    Log(std::string("not answering (fault ") + fault + ")");
    char sink[4096];
    const auto deadline = Clock::now() + kIdleLimit;
    while (WaitFd(control_.Get(), POLLIN, context_.stop, deadline) == WaitResult::Ready) {
      const ssize_t n = recv(control_.Get(), sink, sizeof sink, MSG_DONTWAIT);
      if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return;
    }
  }

  bool Reply(const std::string& text) {
    // ftp-garbage: a reply code no server sends, and bytes that are no text.
    const std::string wire =
        (context_.dir.ReadFaults().ftpGarbage ? "999 \x01\x7f\xfe garbled " + text : text) + "\r\n";
    return SendAll(control_.Get(), wire.data(), wire.size(), context_.stop, Clock::now() + kReplyLimit);
  }

  // One command line without its line end; false on close, error, stop or idle limit.
  bool ReadLine(std::string& line) {
    const auto deadline = Clock::now() + kIdleLimit;
    for (;;) {
      const auto end = pending_.find('\n');
      if (end != std::string::npos) {
        line = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return true;
      }
      if (pending_.size() > kMaxCommandLine) {
        Reply("500 Command line too long");
        return false;
      }
      if (WaitFd(control_.Get(), POLLIN, context_.stop, deadline) != WaitResult::Ready) return false;
      char buf[1024];
      const ssize_t n = recv(control_.Get(), buf, sizeof buf, MSG_DONTWAIT);
      if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return false;
      if (n > 0) pending_.append(buf, static_cast<std::size_t>(n));
    }
  }

  // Handles one command; false when the session ends.
  bool Dispatch(const std::string& line) {
    const auto space = line.find(' ');
    const std::string verb = Upper(line.substr(0, space));
    const std::string argument = space == std::string::npos ? std::string() : line.substr(space + 1);
    Log(verb == "PASS" ? "PASS ***" : line);

    if (verb == "USER") {
      user_ = argument;
      userGiven_ = true;
      loggedIn_ = false;
      return Reply("331 Password required for " + argument);
    }
    if (verb == "PASS") return Pass(argument);
    if (verb == "QUIT") {
      if (context_.dir.ReadFaults().quitHang) {
        Hang("quit-hang");
        return false;
      }
      Reply("221 Goodbye");
      return false;
    }
    if (verb == "NOOP") return Reply("200 NOOP ok");
    if (verb == "SYST") return Reply("215 UNIX Type: L8");
    if (verb == "FEAT") return Reply("211-Features:\r\n EPSV\r\n PASV\r\n SIZE\r\n211 End");
    if (!loggedIn_) return Reply("530 Please login with USER and PASS");

    if (verb == "PWD") return Reply("257 \"/\" is the current directory");
    if (verb == "CWD") {
      if (argument.empty() || FlatName(argument).empty() || argument == ".")
        return Reply("250 Directory is /");
      return Reply("550 " + argument + ": No such directory");
    }
    if (verb == "TYPE") {
      const std::string type = Upper(argument);
      if (type == "I" || type == "L 8" || type == "A" || type == "A N")
        return Reply("200 Type set to " + type);
      return Reply("504 Type not supported");
    }
    if (verb == "MODE") return Reply(Upper(argument) == "S" ? "200 Mode S" : "504 Mode not supported");
    if (verb == "STRU")
      return Reply(Upper(argument) == "F" ? "200 Structure F" : "504 Structure not supported");
    if (verb == "PASV" || verb == "EPSV") return Passive(verb, Upper(argument));
    if (verb == "SIZE") return Size(FlatName(argument));
    if (verb == "RETR") return Retrieve(FlatName(argument));
    if (verb == "STOR") return Store(FlatName(argument));
    return Reply("502 Command not implemented");
  }

  bool Pass(const std::string& password) {
    if (!userGiven_) return Reply("503 Login with USER first");
    if (context_.dir.ReadFaults().loginDeny) return Reply("530 Login incorrect (fault login-deny)");
    const Credentials credentials = context_.dir.ReadCredentials();
    // As on any FTP server, an anonymous login's password is not checked:
    // clients send an e-mail address, or whatever they like.
    loggedIn_ = user_ == credentials.user && (user_ == kAnonymous || password == credentials.password);
    return Reply(loggedIn_ ? "230 User logged in" : "530 Login incorrect");
  }

  bool Passive(const std::string& verb, const std::string& argument) {
    if (verb == "EPSV" && argument == "ALL") return Reply("200 EPSV ALL ok");
    if (verb == "EPSV" && !argument.empty() && argument != "1")
      return Reply("522 Network protocol not supported, use (1)");
    std::string error;
    passive_ = BindTcpListener(local_.sin_addr, 0, error);
    if (!passive_) {
      Log(error);
      return Reply("425 Cannot open passive connection");
    }
    const unsigned port = ntohs(LocalEndpoint(passive_.Get()).sin_port);
    if (verb == "EPSV") return Reply("229 Entering Extended Passive Mode (|||" + std::to_string(port) + "|)");
    std::string host = AddressText(local_.sin_addr);
    std::replace(host.begin(), host.end(), '.', ',');
    return Reply("227 Entering Passive Mode (" + host + "," + std::to_string(port / 256) + "," +
                 std::to_string(port % 256) + ")");
  }

  // The data connection announced by the last PASV/EPSV, from the control peer only.
  UniqueFd AcceptData() {
    UniqueFd listener = std::move(passive_);
    if (!listener) return {};
    const auto deadline = Clock::now() + kDataAccept;
    while (WaitFd(listener.Get(), POLLIN, context_.stop, deadline) == WaitResult::Ready) {
      sockaddr_in from{};
      socklen_t size = sizeof from;
      UniqueFd data(accept4(listener.Get(), reinterpret_cast<sockaddr*>(&from), &size, SOCK_CLOEXEC));
      if (!data) {
        if (errno == EAGAIN || errno == EINTR || errno == ECONNABORTED) continue;
        return {};
      }
      if (from.sin_addr.s_addr == peer_.sin_addr.s_addr) return data;
      Log("refused data connection from " + EndpointText(from));
    }
    return {};
  }

  bool Size(const std::string& name) {
    struct stat info {};
    const auto path = context_.dir.ServedFile(name);
    if (!path || stat(path->c_str(), &info) != 0 || !S_ISREG(info.st_mode))
      return Reply("550 " + name + ": No such file");
    return Reply("213 " + std::to_string(info.st_size));
  }

  bool Retrieve(const std::string& name) {
    const auto path = context_.dir.ServedFile(name);
    UniqueFd file(path ? open(path->c_str(), O_RDONLY | O_CLOEXEC) : -1);
    struct stat info {};
    if (!file || fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
      passive_.Reset();
      return Reply("550 " + name + ": No such file");
    }
    UniqueFd data = AcceptData();
    if (!data) return Reply("425 Cannot open data connection");
    if (!Reply("150 Opening BINARY mode data connection for " + name + " (" + std::to_string(info.st_size) +
               " bytes)"))
      return false;
    Pacer pacer(context_.dir.ReadFaults().transferRate, context_.stop);
    std::vector<char> buf(pacer.Chunk());
    std::uint64_t total = 0;
    for (;;) {
      const ssize_t n = read(file.Get(), buf.data(), buf.size());
      if (n < 0) return Reply("451 Read error");
      if (n == 0) break;
      if (!SendAll(data.Get(), buf.data(), static_cast<std::size_t>(n), context_.stop,
                   Clock::now() + kDataIdle))
        return Reply("426 Connection closed; transfer aborted");
      total += static_cast<std::uint64_t>(n);
      pacer.After(total);
    }
    data.Reset();
    Log("sent " + name + " (" + std::to_string(total) + " bytes)");
    return Reply("226 Transfer complete");
  }

  bool Store(const std::string& name) {
    if (name != kUploadName) {
      passive_.Reset();
      return Reply("553 Only " + std::string(kUploadName) + " is accepted");
    }
    const Faults faults = context_.dir.ReadFaults();
    if (faults.uploadFail) {
      passive_.Reset();
      Log("refusing upload (fault upload-fail)");
      return Reply("550 Upload refused (fault upload-fail)");
    }
    UniqueFd data = AcceptData();
    if (!data) return Reply("425 Cannot open data connection");
    std::filesystem::path temp;
    UniqueFd file = context_.dir.CreateSpoolTemp(temp);
    if (!file) {
      Log(std::string("cannot create a spool file: ") + std::strerror(errno));
      return Reply("451 Cannot create spool file");
    }
    if (!Reply("150 Opening BINARY mode data connection for " + name)) {
      unlink(temp.c_str());
      return false;
    }
    const Received result = Receive(data, file, faults);
    file.Reset();
    if (result.outcome != Outcome::Complete) {
      unlink(temp.c_str());
      if (result.outcome == Outcome::Dropped) {
        Log("dropping the line after " + std::to_string(result.bytes) + " bytes (fault upload-drop-after)");
        AbortiveClose(data);
        AbortiveClose(control_);
        return false;
      }
      if (result.outcome == Outcome::Stalled) {
        Log("stalling after " + std::to_string(result.bytes) + " bytes");
        Hang("upload-hang-after");  // the data connection stays open, unread
        return false;
      }
      // A reset is how a client says the upload did not end as it should:
      // cut by a crash or a time-out of the sender.
      Log((result.outcome == Outcome::Cut ? "upload cut by a reset after " : "upload broken off after ") +
          std::to_string(result.bytes) + " bytes, discarded");
      return Reply("426 Connection closed; transfer aborted");
    }
    const std::string stored = context_.dir.CommitSpool(temp);
    if (stored.empty()) {
      unlink(temp.c_str());
      return Reply("451 Cannot store the job");
    }
    Log("stored spool/" + stored + " (" + std::to_string(result.bytes) + " bytes)");
    if (faults.uploadNoReply) {
      Hang("upload-no-reply");
      return false;
    }
    return Reply("226 Transfer complete");
  }

  enum class Outcome { Complete, Failed, Cut, Dropped, Stalled };
  struct Received {
    Outcome outcome;
    std::uint64_t bytes;
  };

  Received Receive(const UniqueFd& data, const UniqueFd& file, const Faults& faults) {
    Pacer pacer(faults.transferRate, context_.stop);
    std::vector<char> buf(pacer.Chunk());
    std::uint64_t total = 0;
    for (;;) {
      std::size_t want = buf.size();
      if (faults.uploadDropAfter) {
        // At the limit, one more byte tells a complete upload from one to drop.
        want = static_cast<std::size_t>(std::min<std::uint64_t>(want, *faults.uploadDropAfter - total));
        if (want == 0) want = 1;
      }
      if (WaitFd(data.Get(), POLLIN, context_.stop, Clock::now() + kDataIdle) != WaitResult::Ready)
        return {Outcome::Failed, total};
      const ssize_t n = recv(data.Get(), buf.data(), want, MSG_DONTWAIT);
      if (n == 0) return {Outcome::Complete, total};
      if (n < 0) {
        if (errno == EAGAIN || errno == EINTR) continue;
        return {errno == ECONNRESET ? Outcome::Cut : Outcome::Failed, total};
      }
      if (faults.uploadDropAfter && total == *faults.uploadDropAfter) return {Outcome::Dropped, total};
      for (ssize_t done = 0; done < n;) {
        const ssize_t w = write(file.Get(), buf.data() + done, static_cast<std::size_t>(n - done));
        if (w < 0) return {Outcome::Failed, total};
        done += w;
      }
      total += static_cast<std::uint64_t>(n);
      if (faults.uploadHangAfter && total >= *faults.uploadHangAfter) return {Outcome::Stalled, total};
      pacer.After(total);
    }
  }

  UniqueFd control_;
  sockaddr_in peer_;
  sockaddr_in local_;
  SimContext& context_;
  std::string tag_;
  std::string pending_;
  std::string user_;
  bool userGiven_ = false;
  bool loggedIn_ = false;
  UniqueFd passive_;
};

}  // namespace

void RunFtpSession(UniqueFd control, const sockaddr_in& peer, SimContext& context) {
  // Replies go out at once. With Nagle's algorithm a reply that follows
  // another without the client speaking in between (150, then 226 when the
  // transfer ends) waits for the client's delayed ACK: some 40 ms per transfer.
  const int one = 1;
  setsockopt(control.Get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  FtpSession(std::move(control), peer, context).Run();
}

}  // namespace orvella::sim
