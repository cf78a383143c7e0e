#pragma once
// orvella-printer-sim started for one test on 127.0.0.1 with free ports, in
// a fresh printer folder; stopped when the object goes.
#include <filesystem>
#include <string>
#include <vector>

#include "support/background_process.h"
#include "support/temp_dir.h"

namespace orvella::test {

class SimulatedPrinter {
 public:
  // extraArgs are appended to the command line; maxSeconds bounds the run even if a test crashes.
  explicit SimulatedPrinter(std::vector<std::string> extraArgs = {}, int maxSeconds = 120);

  const std::filesystem::path& Dir() const { return dir_; }
  int FtpPort() const { return ftpPort_; }
  int SnmpPort() const { return snmpPort_; }

  // Writes a file of the printer folder: "stat", "info", "faults", "credentials", "snmp-state".
  void Write(const std::string& name, const std::string& content) const;
  std::string Log() const { return process_.Output(); }
  // How many log lines contain text.
  int CountInLog(const std::string& text) const;
  // The jobs in spool/, sorted by name.
  std::vector<std::filesystem::path> SpoolFiles() const;
  BackgroundProcess& Process() { return process_; }

 private:
  TempDir temp_;
  std::filesystem::path dir_;
  BackgroundProcess process_;
  int ftpPort_ = 0;
  int snmpPort_ = 0;
};

// A loopback TCP port that nothing listens on (bound once, then released).
int UnusedLoopbackPort();

}  // namespace orvella::test
