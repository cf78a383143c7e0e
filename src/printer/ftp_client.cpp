#include "printer/ftp_client.h"

#include <curl/curl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

#include "base/unique_fd.h"

namespace orvella::printer {
namespace {

using Clock = std::chrono::steady_clock;

struct CurlDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;

struct CurlMultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
using CurlMulti = std::unique_ptr<CURLM, CurlMultiDeleter>;

// The longest the request's loop sleeps without curl looking at its state.
constexpr int kIdleWakeMs = 1;
// How much later than the attempt's deadline curl's own time-out is set.
constexpr long kBackstopMs = 1000;

struct CurlUrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

// "ftp://host:port/name" with the name escaped; empty when the host is no valid host.
std::string BuildUrl(const std::string& host, int port, const std::string& name) {
  std::unique_ptr<CURLU, CurlUrlDeleter> url(curl_url());
  if (!url || curl_url_set(url.get(), CURLUPART_SCHEME, "ftp", 0) != CURLUE_OK ||
      curl_url_set(url.get(), CURLUPART_HOST, host.c_str(), 0) != CURLUE_OK ||
      curl_url_set(url.get(), CURLUPART_PORT, std::to_string(port).c_str(), 0) != CURLUE_OK ||
      curl_url_set(url.get(), CURLUPART_PATH, ("/" + name).c_str(), CURLU_URLENCODE) != CURLUE_OK) {
    return {};
  }
  char* text = nullptr;
  if (curl_url_get(url.get(), CURLUPART_URL, &text, 0) != CURLUE_OK) return {};
  std::string result(text);
  curl_free(text);
  return result;
}

}  // namespace

// One attempt, run on its own thread: connect, log in and transfer as one
// curl request. (A separate login request followed by the transfer on the
// reused session sometimes leaves curl's data connection unstarted until the
// time-out, so the phases are told apart by the pre-request callback instead:
// it runs once the session is logged in, before the first transfer command.)
//
// The curl handle lives and dies on this thread. The waiting caller stops the
// attempt with Abort(): a flag the transfer callbacks check, and a read
// shutdown of the attempt's sockets so that any wait inside curl, even the
// QUIT of the clean-up, returns at once. Sockets are registered and closed
// through callbacks under one mutex, so each is closed exactly once and never
// touched after its close.
//
// The outcome is known when the request ends, before the clean-up says
// goodbye: a transfer the server confirmed (226) is done whether or not its
// QUIT is ever answered, since the printer already holds the whole file. So
// the attempt tells the caller at that point (onDecided), and the caller
// allows the goodbye only a short grace before it aborts it.
class FtpClient::Attempt {
 public:
  Attempt(FtpClient& client, Direction direction, Clock::time_point deadline, std::function<void()> onDecided)
      : client_(client), direction_(direction), deadline_(deadline), onDecided_(std::move(onDecided)) {}

  void Run() {
    CurlHandle curl(curl_easy_init());
    Decide(curl.get());
    decided_ = true;
    onDecided_();
    // The session's connection stays with the multi handle; its clean-up
    // sends QUIT and waits for the answer.
    if (multi_) curl_multi_remove_handle(multi_.get(), curl.get());
    multi_.reset();
  }

  // From the waiting thread at the time-out, or when the goodbye takes too long.
  void Abort() {
    timedOut_ = !decided_;
    abort_ = true;
    std::lock_guard lock(socketsMutex_);
    for (int fd : sockets_) shutdown(fd, SHUT_RD);
  }

 private:
  // Makes the request and sets the client's state and detail from how it ended.
  void Decide(CURL* curl) {
    const bool put = direction_ == Direction::Put;
    client_.bytesSent_ = 0;
    client_.state_ = FtpState::Opening;
    client_.detail_.clear();
    if (!curl || !Configure(curl)) {
      client_.state_ = FtpState::OpenFailed;
      client_.detail_ = curl ? "no FTP request can be made for host \"" + client_.host_ + "\""
                             : "curl cannot start a session";
      return;
    }
    client_.state_ = FtpState::Connecting;
    const bool ok = put ? Put(curl) : Get(curl);
    if (!ok) {
      const bool loggedIn = client_.state_ != FtpState::Connecting;
      client_.state_ = !loggedIn ? FtpState::ConnectFailed : put ? FtpState::PutFailed : FtpState::GetFailed;
      client_.detail_ = (put ? "uploading to " : "downloading ") + client_.remoteFile_ + " on " +
                        client_.host_ + ":" + std::to_string(client_.port) + ": " + Cause();
      return;
    }
    client_.state_ = FtpState::Done;
    if (client_.progress) client_.progress(0, 0);
  }

  bool Configure(CURL* curl) {
    curl_ = curl;
    const std::string url = BuildUrl(client_.host_, client_.port, client_.remoteFile_);
    const bool ok =
        !url.empty() && curl_easy_setopt(curl, CURLOPT_URL, url.c_str()) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, curlError_) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp") == CURLE_OK &&
        // Printers are on the local network: never through a proxy from the environment.
        curl_easy_setopt(curl, CURLOPT_PROXY, "") == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_USERNAME, client_.user_.c_str()) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_PASSWORD, client_.password_.c_str()) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, 0L) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_FTPPORT, client_.passive == 1 ? nullptr : "-") == CURLE_OK &&
        // Passive means PASV: printers' FTP servers need not know EPSV.
        curl_easy_setopt(curl, CURLOPT_FTP_USE_EPSV, 0L) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_PREREQFUNCTION, &Attempt::OnLoggedIn) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_PREREQDATA, this) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Attempt::OnProgress) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_SOCKOPTFUNCTION, &Attempt::OnSocketOpened) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_SOCKOPTDATA, this) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, &Attempt::OnCloseSocket) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, this) == CURLE_OK;
    return ok;
  }

  bool Put(CURL* curl) {
    base::FilePtr file(std::fopen(client_.localFile_.c_str(), "rbe"));
    struct stat info {};
    if (!file || fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) {
      client_.state_ = FtpState::Putting;  // an unreadable local file is a failed transfer
      localFailure_ = "the local file " + client_.localFile_ +
                      (file ? " is not a regular file" : " cannot be read: " + SystemText());
      return false;
    }
    source_ = file.get();
    fileSize_ = info.st_size;
    return curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L) == CURLE_OK &&
           curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(info.st_size)) ==
               CURLE_OK &&
           curl_easy_setopt(curl, CURLOPT_READFUNCTION, &Attempt::OnRead) == CURLE_OK &&
           curl_easy_setopt(curl, CURLOPT_READDATA, this) == CURLE_OK && Perform(curl);
  }

  // Downloads beside the local file and renames it into place when complete,
  // so a failed download leaves the previous file whole.
  bool Get(CURL* curl) {
    const std::filesystem::path target(client_.localFile_);
    std::filesystem::path partial = target;
    partial += ".part";
    base::FilePtr file(std::fopen(partial.c_str(), "wbe"));
    if (!file) {
      client_.state_ = FtpState::Getting;  // an unwritable local file is a failed transfer
      localFailure_ = "the local file " + partial.string() + " cannot be created: " + SystemText();
      return false;
    }
    sink_ = file.get();
    bool ok = curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Attempt::OnWrite) == CURLE_OK &&
              curl_easy_setopt(curl, CURLOPT_WRITEDATA, this) == CURLE_OK && Perform(curl);
    if (ok && std::fflush(file.get()) != 0) {
      localFailure_ = "the local file " + partial.string() + " cannot be written: " + SystemText();
      ok = false;
    }
    file.reset();
    std::error_code ec;
    if (ok) std::filesystem::rename(partial, target, ec);
    if (ok && ec)
      localFailure_ = "the download cannot be renamed to " + target.string() + ": " + ec.message();
    if (!ok || ec) {
      std::filesystem::remove(partial, ec);
      return false;
    }
    return true;
  }

  // The request, stopped at the deadline by its own loop. curl's time-out
  // is only a backstop, set later: curl keeps its own clock and may stop a
  // little early, when a cut upload would still close in order.
  bool Perform(CURL* curl) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
    if (left <= 0 || abort_) return false;
    if (curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(left + kBackstopMs)) != CURLE_OK)
      return false;
    result_ = Drive(curl);
    return result_ == CURLE_OK;
  }

  // Runs the request to its end or the deadline on a multi handle of the
  // attempt's own. (curl_easy_perform would sleep until curl's next timer
  // whenever curl misses that it can go on: when the answer to PASV arrives
  // as fast as on loopback, the data connection waits for the 200 ms
  // happy-eyeballs timer. Waking every millisecond bounds such a stall.)
  CURLcode Drive(CURL* curl) {
    multi_.reset(curl_multi_init());
    if (!multi_) return LoopFailed(CURLM_OUT_OF_MEMORY);
    if (const CURLMcode added = curl_multi_add_handle(multi_.get(), curl); added != CURLM_OK)
      return LoopFailed(added);
    for (int running = 1; running > 0;) {
      if (const CURLMcode step = curl_multi_perform(multi_.get(), &running); step != CURLM_OK)
        return LoopFailed(step);
      if (running == 0) break;
      if (Clock::now() >= deadline_) {
        timedOut_ = true;
        return CURLE_OPERATION_TIMEDOUT;
      }
      if (const CURLMcode wait = curl_multi_poll(multi_.get(), nullptr, 0, kIdleWakeMs, nullptr);
          wait != CURLM_OK)
        return LoopFailed(wait);
    }
    int queued = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi_.get(), &queued)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == curl) return message->data.result;
    }
    return LoopFailed(CURLM_INTERNAL_ERROR);
  }

  // The request's loop failed rather than the request: curl's words for why.
  CURLcode LoopFailed(CURLMcode code) {
    localFailure_ = std::string("curl's request loop failed: ") + curl_multi_strerror(code);
    return CURLE_FAILED_INIT;
  }

  static std::string SystemText() { return std::generic_category().message(errno); }

  // Why the attempt failed: the local file or curl's loop, the time-out, or curl's own words.
  std::string Cause() const {
    if (!localFailure_.empty()) return localFailure_;
    if (readFailed_) return "the local file " + client_.localFile_ + " could not be read to the end";
    if (timedOut_ || (result_ == CURLE_OK && Clock::now() >= deadline_))
      return "no answer within the time-out of " + std::to_string(client_.timeout) + " ms";
    if (result_ == CURLE_OK) return "curl refused the request's settings";
    std::string text = curl_easy_strerror(result_);
    if (curlError_[0] != '\0' && text != curlError_) text += " (" + std::string(curlError_) + ")";
    return text;
  }

  static int OnLoggedIn(void* data, char*, char*, int, int) {
    auto& self = *static_cast<Attempt*>(data);
    self.loggedIn_ = true;
    self.client_.state_ = self.direction_ == Direction::Put ? FtpState::Putting : FtpState::Getting;
    return self.abort_ ? CURL_PREREQFUNC_ABORT : CURL_PREREQFUNC_OK;
  }

  // Control and data sockets alike are registered here so that Abort() can
  // reach them. (Sockets accepted in active mode are closed by curl without
  // the close callback, so they are left out; curl's own time-out ends them.)
  //
  // An upload cut short must not end with an orderly close: the printer would
  // take the end of the data connection for the end of the job and print a
  // truncated one. A reset makes it discard the upload. So the data connection
  // of a passive upload (the one connection opened after the login) resets
  // from the start, and should this process die, the system's close of it
  // resets too; the close below makes it orderly only once the whole file has
  // gone out. (An active upload's accepted connection is beyond this.)
  static int OnSocketOpened(void* data, curl_socket_t fd, curlsocktype purpose) {
    auto& self = *static_cast<Attempt*>(data);
    std::lock_guard lock(self.socketsMutex_);
    if (purpose == CURLSOCKTYPE_IPCXN) {
      self.sockets_.insert(fd);
      if (self.loggedIn_ && self.direction_ == Direction::Put) {
        self.uploadSocket_ = fd;
        SetLinger(fd, true);
      }
    }
    return self.abort_ ? CURL_SOCKOPT_ERROR : CURL_SOCKOPT_OK;
  }

  // A failed request's connection may stay open until the clean-up, so
  // whether it resets is decided at the close.
  static int OnCloseSocket(void* data, curl_socket_t fd) {
    auto& self = *static_cast<Attempt*>(data);
    std::lock_guard lock(self.socketsMutex_);
    const bool cut = self.abort_ || self.readFailed_ || Clock::now() >= self.deadline_ ||
                     (fd == self.uploadSocket_ && !self.SentWholeFile());
    SetLinger(fd, cut);
    if (fd == self.uploadSocket_) self.uploadSocket_ = CURL_SOCKET_BAD;
    self.sockets_.erase(fd);
    return close(fd);
  }

  // With reset, a close (ours or the system's at our death) resets the
  // connection; without, it ends it in order once the data sent is delivered.
  static void SetLinger(curl_socket_t fd, bool reset) {
    const linger how{reset ? 1 : 0, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &how, sizeof how);
  }

  // curl has handed every byte of the file to the system.
  bool SentWholeFile() const {
    curl_off_t sent = -1;
    return curl_easy_getinfo(curl_, CURLINFO_SIZE_UPLOAD_T, &sent) == CURLE_OK && sent == fileSize_;
  }

  static int OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Attempt*>(self)->abort_ ? 1 : 0;
  }

  static size_t OnRead(char* buffer, size_t size, size_t count, void* data) {
    auto& self = *static_cast<Attempt*>(data);
    if (self.abort_) return CURL_READFUNC_ABORT;
    const size_t n = std::fread(buffer, 1, size * count, self.source_);
    if (n == 0 && std::ferror(self.source_)) {
      self.readFailed_ = true;
      return CURL_READFUNC_ABORT;
    }
    if (n == 0) return 0;
    self.client_.bytesSent_ += static_cast<std::int64_t>(n);
    if (self.client_.progress) self.client_.progress(2, self.client_.bytesSent_);
    return n;
  }

  static size_t OnWrite(char* buffer, size_t size, size_t count, void* data) {
    auto& self = *static_cast<Attempt*>(data);
    const size_t bytes = size * count;
    if (self.abort_) return bytes == 0 ? 1 : 0;  // any count but the one given fails the transfer
    return std::fwrite(buffer, 1, bytes, self.sink_);
  }

  FtpClient& client_;
  Direction direction_;
  Clock::time_point deadline_;
  std::function<void()> onDecided_;
  std::atomic<bool> decided_{false};
  std::atomic<bool> abort_{false};
  std::atomic<bool> timedOut_{false};
  std::atomic<bool> readFailed_{false};
  bool loggedIn_ = false;  // on the attempt's thread only
  CURLcode result_ = CURLE_OK;
  char curlError_[CURL_ERROR_SIZE] = {};
  std::string localFailure_;  // a failure outside the request itself
  std::mutex socketsMutex_;
  std::set<int> sockets_;                         // open sockets of this attempt, guarded by socketsMutex_
  curl_socket_t uploadSocket_ = CURL_SOCKET_BAD;  // the upload's data connection, guarded likewise
  CURL* curl_ = nullptr;
  curl_off_t fileSize_ = -1;  // of the file uploaded
  std::FILE* source_ = nullptr;
  std::FILE* sink_ = nullptr;
  CurlMulti multi_;  // the request's, and after it the session's connection
};

bool FtpClient::PutFile() { return Run(Direction::Put); }
bool FtpClient::GetFile() { return Run(Direction::Get); }

bool FtpClient::Run(Direction direction) {
  for (int attempt = 1;; ++attempt) {
    if (!RunAttempt(direction)) return false;
    if (state_ == FtpState::Done) return true;
    // A failed transfer (or one cut short by the time-out) is never repeated here.
    if (state_ != FtpState::OpenFailed && state_ != FtpState::ConnectFailed) return false;
    if (attempt >= maxAttempts) return false;
    if (progress && progress(1, attempt) == 0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(std::max(retryWait, 0)));
  }
}

// Runs one attempt on its own thread and waits at most the time-out for it,
// and once its outcome is known at most the goodbye grace; false only when
// the thread cannot be started.
bool FtpClient::RunAttempt(Direction direction) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeout, 0));
  std::mutex mutex;
  std::condition_variable finished;
  bool decided = false;
  bool done = false;
  Attempt attempt(*this, direction, deadline, [&] {
    std::lock_guard lock(mutex);
    decided = true;
    finished.notify_all();
  });
  std::thread worker;
  try {
    worker = std::thread([&] {
      attempt.Run();
      std::lock_guard lock(mutex);
      done = true;
      finished.notify_all();
    });
  } catch (const std::system_error& e) {
    detail_ = std::string("the transfer thread cannot be started: ") + e.what();
    return false;
  }
  {
    std::unique_lock lock(mutex);
    const bool known = finished.wait_until(lock, deadline, [&] { return decided; });
    const auto goodbye = std::min(deadline, Clock::now() + std::chrono::milliseconds(kGoodbyeGraceMs));
    if (!known || !finished.wait_until(lock, goodbye, [&] { return done; })) attempt.Abort();
  }
  worker.join();
  return true;
}

}  // namespace orvella::printer
