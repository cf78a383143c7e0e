#pragma once
// The simulated printer's folder. Everything but the spool counter is read
// from disk at each use, so a test can change the printer while it runs:
//   stat, info      served by RETR
//   credentials     "user:password" (else anonymous, any password)
//   snmp-state      hex bytes of the SNMP error-state answer (default "00")
//   faults          one fault per line
//   spool/          uploads of quenbyjob as 000001.prn, 000002.prn, ...
// One folder serves one simulator at a time.
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "sim_log.h"
#include "socket_util.h"

namespace orvella::sim {

struct Faults {
  bool ftpHang = false;                          // accept, never answer
  bool loginDeny = false;                        // every PASS gets 530
  bool uploadFail = false;                       // STOR answered 550
  bool uploadNoReply = false;                    // an upload stored, then silence instead of 226
  bool quitHang = false;                         // QUIT never answered
  bool ftpGarbage = false;                       // every FTP reply garbled
  bool snmpSilent = false;                       // no SNMP answer
  bool snmpTwoBytes = false;                     // the state answered as two bytes
  bool snmpNoSuchName = false;                   // error status noSuchName for every request
  bool snmpWrongId = false;                      // answer under another request id
  std::optional<std::uint64_t> uploadDropAfter;  // drop the line after this many bytes
  std::optional<std::uint64_t> uploadHangAfter;  // stop reading and answering after this many bytes
  std::optional<std::uint64_t> transferRate;     // bytes per second, both directions
};

struct Credentials {
  std::string user = "anonymous";
  std::string password;  // not checked for the user anonymous
};

class PrinterDir {
 public:
  PrinterDir(std::filesystem::path dir, SimLog& log);

  // Creates the folder and spool/ and removes partial uploads left by a run
  // that was killed; false with error when the folders cannot be made.
  bool Prepare(std::string& error);
  // How many partial uploads Prepare removed.
  std::size_t RemovedPartialUploads() const { return removedPartials_; }

  Faults ReadFaults();
  Credentials ReadCredentials() const;
  std::vector<std::uint8_t> ReadSnmpState();

  // Path of a file served by RETR ("stat" or "info"), or nothing for any other name.
  std::optional<std::filesystem::path> ServedFile(const std::string& name) const;

  // Creates a file of a name no other upload has, for an upload in progress;
  // its path goes to path. An empty UniqueFd when it cannot be created.
  UniqueFd CreateSpoolTemp(std::filesystem::path& path);
  // Renames a complete upload to the next spool number; returns the new file name, or empty on failure.
  std::string CommitSpool(const std::filesystem::path& temp);

 private:
  void WarnOnce(const std::string& text);

  std::filesystem::path dir_;
  SimLog& log_;
  std::mutex mutex_;  // guards nextSpool_ and warned_
  unsigned nextSpool_ = 1;
  std::size_t removedPartials_ = 0;
  std::set<std::string> warned_;
};

}  // namespace orvella::sim
