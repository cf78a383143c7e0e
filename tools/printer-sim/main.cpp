// orvella-printer-sim: one simulated printer on one address, for tests, the
// demo and operators without a printer at hand. See README.md.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ftp_session.h"
#include "printer_dir.h"
#include "received_job.h"
#include "sim_log.h"
#include "snmp_agent.h"
#include "socket_util.h"

namespace orvella::sim {
namespace {

constexpr std::size_t kMaxSessions = 16;

const char kUsage[] =
    "usage: orvella-printer-sim --dir DIR [--address IP] [--ftp-port P] [--snmp-port Q] [--max-seconds N]\n"
    "       orvella-printer-sim inspect FILE\n"
    "\n"
    "  --dir DIR        the printer's folder: stat, info, credentials, snmp-state, faults, spool/\n"
    "  --address IP     IPv4 address to listen on (default 127.0.0.1; never all addresses)\n"
    "  --ftp-port P     FTP port (default 21; 0 = any free port)\n"
    "  --snmp-port Q    SNMP port (default 161; 0 = any free port)\n"
    "  --max-seconds N  stop after N seconds (default: run until SIGTERM or SIGINT)\n"
    "\n"
    "The first line on stdout is \"listening ftp=PORT snmp=PORT\"; then one line per request.\n"
    "inspect prints what a received job (a file of DIR/spool) holds.\n";

struct Options {
  std::string dir;
  in_addr address{};
  std::uint16_t ftpPort = 21;
  std::uint16_t snmpPort = 161;
  std::optional<unsigned> maxSeconds;
};

template <typename T>
bool ParseNumber(const std::string& text, T& out) {
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && ptr == text.data() + text.size();
}

// Parses the options; on failure error tells why.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
  std::string address = "127.0.0.1";
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (i + 1 >= args.size()) {
      error = "unknown or incomplete option " + name;
      return false;
    }
    const std::string& value = args[++i];
    bool ok = true;
    if (name == "--dir") {
      options.dir = value;
    } else if (name == "--address") {
      address = value;
    } else if (name == "--ftp-port") {
      ok = ParseNumber(value, options.ftpPort);
    } else if (name == "--snmp-port") {
      ok = ParseNumber(value, options.snmpPort);
    } else if (name == "--max-seconds") {
      unsigned seconds = 0;
      ok = ParseNumber(value, seconds);
      options.maxSeconds = seconds;
    } else {
      error = "unknown option " + name;
      return false;
    }
    if (!ok) {
      error = "bad value for " + name + ": " + value;
      return false;
    }
  }
  if (options.dir.empty()) {
    error = "--dir is required";
    return false;
  }
  if (!ParseIpv4(address, options.address)) {
    error = "--address must be an IPv4 address: " + address;
    return false;
  }
  if (options.address.s_addr == htonl(INADDR_ANY)) {
    error = "--address 0.0.0.0 would listen on every network; name one address";
    return false;
  }
  return true;
}

int g_signalPipe = -1;

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] auto n = write(g_signalPipe, &byte, 1);
}

// The FTP sessions run on their own threads; the main thread reaps them.
struct Session {
  std::thread thread;
  std::shared_ptr<std::atomic<bool>> done = std::make_shared<std::atomic<bool>>(false);
};

class Simulator {
 public:
  Simulator(Options options, SimLog& log)
      : options_(std::move(options)), log_(log), dir_(options_.dir, log), context_{dir_, log_, stop_} {}

  int Run() {
    std::string error;
    if (!dir_.Prepare(error)) return Fail(error);
    UniqueFd ftp = BindTcpListener(options_.address, options_.ftpPort, error);
    if (!ftp) return Fail("cannot take the FTP port: " + error);
    UniqueFd snmp = BindUdp(options_.address, options_.snmpPort, error);
    if (!snmp) return Fail("cannot take the SNMP port: " + error);
    UniqueFd signals = InstallSignalPipe(error);
    if (!signals) return Fail(error);

    log_.Line("listening ftp=" + std::to_string(ntohs(LocalEndpoint(ftp.Get()).sin_port)) +
              " snmp=" + std::to_string(ntohs(LocalEndpoint(snmp.Get()).sin_port)));
    log_.Line("address " + AddressText(options_.address) + ", folder " + options_.dir);
    if (dir_.RemovedPartialUploads() > 0) {
      log_.Line("removed " + std::to_string(dir_.RemovedPartialUploads()) +
                " partial upload(s) of an earlier run from spool/");
    }

    const auto deadline = options_.maxSeconds ? Clock::now() + std::chrono::seconds(*options_.maxSeconds)
                                              : Clock::time_point::max();
    while (!stop_) {
      if (Clock::now() >= deadline) {
        log_.Line("stopping: --max-seconds reached");
        break;
      }
      pollfd fds[3] = {{ftp.Get(), POLLIN, 0}, {snmp.Get(), POLLIN, 0}, {signals.Get(), POLLIN, 0}};
      if (poll(fds, 3, 100) > 0) {
        if (fds[2].revents & POLLIN) {
          log_.Line("stopping: signal");
          break;
        }
        if (fds[0].revents & POLLIN) AcceptFtp(ftp);
        if (fds[1].revents & POLLIN) AnswerSnmpDatagram(snmp);
      }
      Reap(false);
    }
    stop_ = true;
    Reap(true);
    log_.Line("stopped");
    return 0;
  }

 private:
  int Fail(const std::string& error) {
    std::cerr << "orvella-printer-sim: " << error << "\n";
    return 1;
  }

  UniqueFd InstallSignalPipe(std::string& error) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
      error = "pipe failed";
      return {};
    }
    UniqueFd readEnd(fds[0]);
    signalWrite_.Reset(fds[1]);
    g_signalPipe = fds[1];
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    return readEnd;
  }

  void AcceptFtp(const UniqueFd& listener) {
    sockaddr_in peer{};
    socklen_t size = sizeof peer;
    UniqueFd control(accept4(listener.Get(), reinterpret_cast<sockaddr*>(&peer), &size, SOCK_CLOEXEC));
    if (!control) return;
    log_.Line("[ftp " + EndpointText(peer) + "] connected");
    if (sessions_.size() >= kMaxSessions) {
      static const char kBusy[] = "421 Too many connections\r\n";
      send(control.Get(), kBusy, sizeof kBusy - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
      return;
    }
    Session& session = sessions_.emplace_back();
    auto done = session.done;
    session.thread = std::thread([this, done, peer, fd = control.Release()]() mutable {
      RunFtpSession(UniqueFd(fd), peer, context_);
      log_.Line("[ftp " + EndpointText(peer) + "] closed");
      *done = true;
    });
  }

  void AnswerSnmpDatagram(const UniqueFd& socket) {
    char buf[2048];
    sockaddr_in peer{};
    socklen_t size = sizeof peer;
    const ssize_t n =
        recvfrom(socket.Get(), buf, sizeof buf, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&peer), &size);
    if (n < 0) return;
    std::string note;
    const auto answer = AnswerSnmp(std::string_view(buf, static_cast<std::size_t>(n)), dir_.ReadFaults(),
                                   dir_.ReadSnmpState(), note);
    log_.Line("[snmp " + EndpointText(peer) + "] " + note);
    if (answer) {
      sendto(socket.Get(), answer->data(), answer->size(), MSG_DONTWAIT,
             reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    }
  }

  void Reap(bool all) {
    for (auto it = sessions_.begin(); it != sessions_.end();) {
      if (all || *it->done) {
        if (it->thread.joinable()) it->thread.join();
        it = sessions_.erase(it);
      } else {
        ++it;
      }
    }
  }

  Options options_;
  SimLog& log_;
  PrinterDir dir_;
  std::atomic<bool> stop_{false};
  SimContext context_;
  UniqueFd signalWrite_;
  std::list<Session> sessions_;
};

}  // namespace
}  // namespace orvella::sim

int main(int argc, char** argv) {
  using namespace orvella::sim;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  if (!args.empty() && args[0] == "inspect") {
    if (args.size() != 2) {
      std::cerr << kUsage;
      return 2;
    }
    return InspectJob(args[1], std::cout, std::cerr);
  }
  Options options;
  std::string error;
  if (!ParseOptions(args, options, error)) {
    std::cerr << "orvella-printer-sim: " << error << "\n" << kUsage;
    return 2;
  }
  SimLog log;
  return Simulator(std::move(options), log).Run();
}
