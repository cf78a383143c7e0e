#include "support/printer_sim.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "support/process.h"

namespace orvella::test {
namespace {

std::vector<std::string> SimArgs(const std::filesystem::path& dir, int maxSeconds,
                                 std::vector<std::string> extra) {
  std::vector<std::string> args = {
      "--address", "127.0.0.1",   "--dir", dir.string(),    "--ftp-port",
      "0",         "--snmp-port", "0",     "--max-seconds", std::to_string(maxSeconds)};
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

}  // namespace

SimulatedPrinter::SimulatedPrinter(std::vector<std::string> extraArgs, int maxSeconds)
    : dir_(temp_.Path() / "printer"),
      process_(BinaryPath("orvella-printer-sim"), SimArgs(dir_, maxSeconds, std::move(extraArgs)),
               temp_.Path() / "sim.log") {
  const std::string line = process_.WaitForLine("listening ", std::chrono::seconds(10));
  if (std::sscanf(line.c_str(), "listening ftp=%d snmp=%d", &ftpPort_, &snmpPort_) != 2) {
    throw std::runtime_error("orvella-printer-sim did not start: " + process_.Output());
  }
}

void SimulatedPrinter::Write(const std::string& name, const std::string& content) const {
  WriteFileBytes(dir_ / name, content);
}

int SimulatedPrinter::CountInLog(const std::string& text) const {
  std::istringstream lines(Log());
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) count += line.find(text) != std::string::npos;
  return count;
}

std::vector<std::filesystem::path> SimulatedPrinter::SpoolFiles() const {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir_ / "spool")) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

int UnusedLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    if (fd >= 0) close(fd);
    throw std::runtime_error("no free loopback port");
  }
  close(fd);
  return ntohs(address.sin_port);
}

}  // namespace orvella::test
