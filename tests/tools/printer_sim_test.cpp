// orvella-printer-sim as a process: command line, FTP dialog, faults, spool, SNMP.
#include "support/printer_sim.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "base/unique_fd.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella::test {
namespace {

using namespace std::chrono_literals;

// A socket to 127.0.0.1 closed on destruction.
class Socket {
 public:
  Socket(int type, int port) : fd_(socket(AF_INET, type | SOCK_CLOEXEC, 0)) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(static_cast<uint16_t>(port));
    connected_ = fd_ && connect(fd_.Get(), reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
  }
  void Close() { fd_.Reset(); }

  bool Connected() const { return connected_; }
  void Send(const std::string& bytes) const {
    ASSERT_EQ(send(fd_.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
  }
  // What arrives within the wait; empty when nothing does (or at the end).
  std::string Receive(std::chrono::milliseconds wait) const {
    pollfd p{fd_.Get(), POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(wait.count())) <= 0) return {};
    char buf[65536];
    const ssize_t n = recv(fd_.Get(), buf, sizeof buf, 0);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
  }
  // Everything until the peer closes (bounded by the wait per read).
  std::string ReceiveAll() const {
    std::string all;
    for (std::string part; !(part = Receive(3s)).empty();) all += part;
    return all;
  }

 private:
  base::UniqueFd fd_;
  bool connected_ = false;
};

// The client side of an FTP control connection, reply by reply.
class FtpDialog {
 public:
  explicit FtpDialog(int port) : control_(SOCK_STREAM, port) {}

  // One complete reply (all lines of a multi-line one); empty when none comes in time.
  std::string Reply(std::chrono::milliseconds wait = 3s) {
    for (;;) {
      const auto end = ReplyEnd();
      if (end != std::string::npos) {
        std::string reply = pending_.substr(0, end);
        pending_.erase(0, end);
        return reply;
      }
      const std::string part = control_.Receive(wait);
      if (part.empty()) return {};
      pending_ += part;
    }
  }
  std::string Command(const std::string& line) {
    control_.Send(line + "\r\n");
    return Reply();
  }
  // Opens the data connection a 227 or 229 reply announces.
  int DataPort(const std::string& reply) {
    int h1, h2, h3, h4, p1, p2, port;
    if (std::sscanf(reply.c_str(), "227 Entering Passive Mode (%d,%d,%d,%d,%d,%d)", &h1, &h2, &h3, &h4, &p1,
                    &p2) == 6)
      return p1 * 256 + p2;
    if (std::sscanf(reply.c_str(), "229 Entering Extended Passive Mode (|||%d|)", &port) == 1) return port;
    return -1;
  }

 private:
  // Length of the first complete reply in pending_, or npos.
  std::size_t ReplyEnd() const {
    std::size_t start = 0;
    for (;;) {
      const auto end = pending_.find("\r\n", start);
      if (end == std::string::npos) return std::string::npos;
      if (end - start >= 4 && pending_[start + 3] == ' ' && pending_.compare(start, 3, pending_, 0, 3) == 0)
        return end + 2;
      start = end + 2;
    }
  }

  Socket control_;
  std::string pending_;
};

std::string Code(const std::string& reply) { return reply.substr(0, 3); }

// A port of 127.0.0.1 held by the test, with SO_REUSEADDR set as a careless
// neighbour would set it; port 0 takes a free one.
class HeldPort {
 public:
  explicit HeldPort(int type, int port = 0) : fd_(socket(AF_INET, type | SOCK_CLOEXEC, 0)) {
    const int one = 1;
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    socklen_t size = sizeof address;
    bound_ = bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
             (type != SOCK_STREAM || listen(fd_, 1) == 0) &&
             getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) == 0;
    port_ = ntohs(address.sin_port);
  }
  ~HeldPort() {
    if (fd_ >= 0) close(fd_);
  }
  HeldPort(const HeldPort&) = delete;
  HeldPort& operator=(const HeldPort&) = delete;

  bool Bound() const { return bound_; }
  std::string Port() const { return std::to_string(port_); }

 private:
  int fd_;
  bool bound_ = false;
  int port_ = 0;
};

TEST(PrinterSim, StartsOnFreePortsAndStopsCleanly) {
  SimulatedPrinter sim;
  EXPECT_GT(sim.FtpPort(), 0);
  EXPECT_GT(sim.SnmpPort(), 0);
  EXPECT_EQ(sim.Log().rfind("listening ftp=" + std::to_string(sim.FtpPort()) + " snmp=", 0), 0u);
  FtpDialog idle(sim.FtpPort());  // an open session does not hold up the stop
  EXPECT_EQ(Code(idle.Reply()), "220");
  EXPECT_EQ(sim.Process().Stop(), 0);
  EXPECT_EQ(sim.CountInLog("stopping: signal"), 1);
  EXPECT_TRUE(std::filesystem::is_directory(sim.Dir() / "spool"));

  TempDir dir;
  BackgroundProcess timed(
      BinaryPath("orvella-printer-sim"),
      {"--dir", (dir / "p").string(), "--ftp-port", "0", "--snmp-port", "0", "--max-seconds", "1"},
      dir / "log");
  EXPECT_EQ(timed.WaitExit(5s), 0);
}

TEST(PrinterSim, RefusesBadCommandLines) {
  TempDir dir;
  const std::string folder = (dir / "p").string();
  const std::vector<std::vector<std::string>> bad = {
      {"--address", "0.0.0.0", "--dir", folder},  // would listen everywhere
      {"--address", "localhost", "--dir", folder}, {"--address", "127.0.0.1"},
      {"--dir", folder, "--ftp-port", "70000"},    {"--dir", folder, "--verbose"},
  };
  for (const auto& args : bad) {
    const auto result = RunProcess(BinaryPath("orvella-printer-sim"), args, 10);
    EXPECT_EQ(result.exitCode, 2) << args[0] << " " << args[1];
    EXPECT_NE(result.err.find("usage:"), std::string::npos);
  }
}

// A port in use is refused, not shared: a second agent on the SNMP port
// would answer some of the requests meant for the first.
TEST(PrinterSim, RefusesPortsInUse) {
  TempDir dir;
  for (const int type : {SOCK_STREAM, SOCK_DGRAM}) {
    const HeldPort held(type);
    ASSERT_TRUE(held.Bound());
    const bool ftp = type == SOCK_STREAM;
    const auto result = RunProcess(BinaryPath("orvella-printer-sim"),
                                   {"--dir", (dir / "p").string(), "--ftp-port", ftp ? held.Port() : "0",
                                    "--snmp-port", ftp ? "0" : held.Port(), "--max-seconds", "2"},
                                   10);
    EXPECT_EQ(result.exitCode, 1) << result.out;
    EXPECT_NE(result.err.find(std::string(ftp ? "FTP" : "SNMP") + " port: bind 127.0.0.1:" + held.Port()),
              std::string::npos)
        << result.err;
  }
  SimulatedPrinter sim;
  EXPECT_FALSE(HeldPort(SOCK_DGRAM, sim.SnmpPort()).Bound());
  EXPECT_FALSE(HeldPort(SOCK_STREAM, sim.FtpPort()).Bound());
}

TEST(PrinterSim, ServesStatusFilesAndSpoolsUploads) {
  SimulatedPrinter sim;
  sim.Write("stat", "P (Ready.)\r\nOnline/Offline : Online.\r\n");
  FtpDialog ftp(sim.FtpPort());
  EXPECT_EQ(Code(ftp.Reply()), "220");
  EXPECT_EQ(Code(ftp.Command("PWD")), "530");
  EXPECT_EQ(Code(ftp.Command("USER guest")), "331");
  EXPECT_EQ(Code(ftp.Command("PASS guest")), "530");
  EXPECT_EQ(Code(ftp.Command("USER anonymous")), "331");
  EXPECT_EQ(Code(ftp.Command("PASS operator@example.com")), "230");  // any password
  EXPECT_EQ(Code(ftp.Command("SYST")), "215");
  EXPECT_EQ(ftp.Command("FEAT"), "211-Features:\r\n EPSV\r\n PASV\r\n SIZE\r\n211 End\r\n");
  EXPECT_EQ(Code(ftp.Command("PWD")), "257");
  EXPECT_EQ(Code(ftp.Command("CWD /")), "250");
  EXPECT_EQ(Code(ftp.Command("CWD jobs")), "550");
  EXPECT_EQ(Code(ftp.Command("TYPE I")), "200");
  EXPECT_EQ(ftp.Command("SIZE stat"), "213 38\r\n");
  EXPECT_EQ(Code(ftp.Command("SIZE info")), "550");
  EXPECT_EQ(Code(ftp.Command("RETR stat")), "425");  // no PASV yet

  {
    Socket data(SOCK_STREAM, ftp.DataPort(ftp.Command("PASV")));
    EXPECT_EQ(Code(ftp.Command("RETR /stat")), "150");
    EXPECT_EQ(data.ReceiveAll(), "P (Ready.)\r\nOnline/Offline : Online.\r\n");
    EXPECT_EQ(Code(ftp.Reply()), "226");
  }
  sim.Write("stat", "changed\r\n");  // read at each request
  {
    Socket data(SOCK_STREAM, ftp.DataPort(ftp.Command("EPSV")));
    EXPECT_EQ(Code(ftp.Command("RETR stat")), "150");
    EXPECT_EQ(data.ReceiveAll(), "changed\r\n");
    EXPECT_EQ(Code(ftp.Reply()), "226");
  }
  {
    Socket data(SOCK_STREAM, ftp.DataPort(ftp.Command("EPSV")));
    EXPECT_EQ(Code(ftp.Command("RETR info")), "550");
  }
  for (const std::string job : {"first job", "second job"}) {
    Socket data(SOCK_STREAM, ftp.DataPort(ftp.Command("EPSV")));
    EXPECT_EQ(Code(ftp.Command("STOR quenbyjob")), "150");
    data.Send(job);
    data.Close();  // the end of the upload
    EXPECT_EQ(Code(ftp.Reply()), "226");
  }
  {
    Socket data(SOCK_STREAM, ftp.DataPort(ftp.Command("EPSV")));
    EXPECT_EQ(Code(ftp.Command("STOR other.prn")), "553");
  }
  EXPECT_EQ(Code(ftp.Command("NOOP")), "200");
  EXPECT_EQ(Code(ftp.Command("QUIT")), "221");

  const auto spool = sim.SpoolFiles();
  ASSERT_EQ(spool.size(), 2u);
  EXPECT_EQ(spool[0].filename(), "000001.prn");
  EXPECT_EQ(ReadFileBytes(spool[0]), "first job");
  EXPECT_EQ(spool[1].filename(), "000002.prn");
  EXPECT_EQ(ReadFileBytes(spool[1]), "second job");
}

// curl as an operator would use it: anonymous login with curl's own
// password, passive mode, a download and an upload.
TEST(PrinterSim, ServesAStandardFtpClient) {
  SimulatedPrinter sim;
  sim.Write("stat", "P (Ready.)\r\nOnline/Offline : Online.\r\n");
  TempDir dir;
  WriteFileBytes(dir / "job.prn", "a job");
  const std::string url = "ftp://127.0.0.1:" + std::to_string(sim.FtpPort()) + "/";
  const auto curl = [](std::vector<std::string> args) {
    args.insert(args.begin(), {"--silent", "--show-error", "--max-time", "20"});
    return RunProcess("/usr/bin/curl", args, 30);
  };
  const auto stat = curl({url + "stat"});
  EXPECT_EQ(stat.exitCode, 0) << stat.err;
  EXPECT_EQ(stat.out, "P (Ready.)\r\nOnline/Offline : Online.\r\n");
  const auto upload = curl({"--upload-file", (dir / "job.prn").string(), url + "quenbyjob"});
  EXPECT_EQ(upload.exitCode, 0) << upload.err;
  const auto spool = sim.SpoolFiles();
  ASSERT_EQ(spool.size(), 1u);
  EXPECT_EQ(ReadFileBytes(spool[0]), "a job");
}

TEST(PrinterSim, FaultsAreReadLive) {
  SimulatedPrinter sim;
  sim.Write("faults", "ftp-hang\n");
  {
    FtpDialog hung(sim.FtpPort());
    EXPECT_EQ(hung.Reply(300ms), "");
  }
  sim.Write("faults", "# comment\nlogin-deny\nno-such-fault\n");
  FtpDialog ftp(sim.FtpPort());
  EXPECT_EQ(Code(ftp.Reply()), "220");
  EXPECT_EQ(Code(ftp.Command("USER anonymous")), "331");
  EXPECT_EQ(Code(ftp.Command("PASS anonymous")), "530");
  EXPECT_EQ(sim.CountInLog("ignoring unknown line 'no-such-fault'"), 1);

  sim.Write("credentials", "plotter:s3cret\n");
  sim.Write("faults", "upload-fail\n");
  EXPECT_EQ(Code(ftp.Command("USER anonymous")), "331");
  EXPECT_EQ(Code(ftp.Command("PASS anonymous")), "530");  // the credentials file replaces anonymous
  EXPECT_EQ(Code(ftp.Command("USER plotter")), "331");
  EXPECT_EQ(Code(ftp.Command("PASS secret")), "530");
  EXPECT_EQ(Code(ftp.Command("USER plotter")), "331");
  EXPECT_EQ(Code(ftp.Command("PASS s3cret")), "230");
  {
    Socket data(SOCK_STREAM, ftp.DataPort(ftp.Command("EPSV")));
    EXPECT_EQ(Code(ftp.Command("STOR quenbyjob")), "550");
  }
  // A dropped line: the control connection goes too, and nothing is stored.
  sim.Write("faults", "upload-drop-after 10\n");
  {
    Socket data(SOCK_STREAM, ftp.DataPort(ftp.Command("EPSV")));
    EXPECT_EQ(Code(ftp.Command("STOR quenbyjob")), "150");
    data.Send("0123456789 and more");
    EXPECT_EQ(ftp.Reply(), "");
  }
  // Exactly the allowed bytes are a complete upload.
  FtpDialog again(sim.FtpPort());
  EXPECT_EQ(Code(again.Reply()), "220");
  EXPECT_EQ(Code(again.Command("USER plotter")), "331");
  EXPECT_EQ(Code(again.Command("PASS s3cret")), "230");
  {
    Socket data(SOCK_STREAM, again.DataPort(again.Command("EPSV")));
    EXPECT_EQ(Code(again.Command("STOR quenbyjob")), "150");
    data.Send("0123456789");
    data.Close();
    EXPECT_EQ(Code(again.Reply()), "226");
  }
  sim.Write("faults", "ftp-garbage\n");
  EXPECT_EQ(Code(again.Command("NOOP")), "999");
  EXPECT_EQ(Code(FtpDialog(sim.FtpPort()).Reply()), "999");
  sim.Write("faults", "");
  EXPECT_EQ(Code(again.Command("NOOP")), "200");
  // A stalled upload: no answer, and nothing stored.
  sim.Write("faults", "upload-hang-after 4\n");
  {
    Socket data(SOCK_STREAM, again.DataPort(again.Command("EPSV")));
    EXPECT_EQ(Code(again.Command("STOR quenbyjob")), "150");
    data.Send("0123456789");
    data.Close();
    EXPECT_EQ(again.Reply(300ms), "");
  }
  const auto spool = sim.SpoolFiles();
  ASSERT_EQ(spool.size(), 1u);
  EXPECT_EQ(ReadFileBytes(spool[0]), "0123456789");
}

// After a run that was killed: its jobs are kept and numbered on from, its
// partial uploads are removed, and no partial name blocks an upload.
TEST(PrinterSim, RestartKeepsJobsAndClearsPartialUploads) {
  TempDir dir;
  std::filesystem::create_directories(dir / "p/spool");
  WriteFileBytes(dir / "p/spool/000007.prn", "old job");
  for (const char* partial : {".upload-1.part", ".upload-2.part", ".upload-x1Y2z3.part"})
    WriteFileBytes(dir / "p/spool" / partial, "cut off");
  BackgroundProcess process(
      BinaryPath("orvella-printer-sim"),
      {"--dir", (dir / "p").string(), "--ftp-port", "0", "--snmp-port", "0", "--max-seconds", "60"},
      dir / "log");
  int ftpPort = 0, snmpPort = 0;
  ASSERT_EQ(std::sscanf(process.WaitForLine("listening", 10s).c_str(), "listening ftp=%d snmp=%d", &ftpPort,
                        &snmpPort),
            2);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "p/spool"), {}), 1);
  WriteFileBytes(dir / "p/spool/.upload-1.part", "not the simulator's");
  FtpDialog ftp(ftpPort);
  EXPECT_EQ(Code(ftp.Reply()), "220");
  EXPECT_EQ(Code(ftp.Command("USER anonymous")), "331");
  EXPECT_EQ(Code(ftp.Command("PASS anonymous")), "230");
  Socket data(SOCK_STREAM, ftp.DataPort(ftp.Command("PASV")));
  EXPECT_EQ(Code(ftp.Command("STOR quenbyjob")), "150");
  data.Send("new job");
  data.Close();
  EXPECT_EQ(ftp.Reply(), "226 Transfer complete\r\n");
  EXPECT_EQ(ReadFileBytes(dir / "p/spool/000008.prn"), "new job");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "p/spool"), {}), 3);
}

// SNMP v1 messages of the one exchange, built by hand (all lengths below 128).
std::string Tlv(char tag, const std::string& content) {
  return std::string(1, tag) + char(content.size()) + content;
}
const std::string kErrorStateOid = "\x2B\x06\x01\x02\x01\x19\x03\x05\x01\x02\x01";
const std::string kSysDescrOid = "\x2B\x06\x01\x02\x01\x01\x01\x00";
const std::string kNull = Tlv(0x05, "");
std::string Int(const std::string& bytes) { return Tlv(0x02, bytes); }

std::string Message(char pdu, const std::string& community, const std::string& id, int status, int index,
                    const std::string& oid, const std::string& value) {
  return Tlv(0x30,
             Int(std::string(1, '\0')) + Tlv(0x04, community) +
                 Tlv(pdu, Int(id) + Int(std::string(1, char(status))) + Int(std::string(1, char(index))) +
                              Tlv(0x30, Tlv(0x30, Tlv(0x06, oid) + value))));
}
std::string Request(const std::string& community, const std::string& oid) {
  return Message('\xA0', community, "\x30\x39", 0, 0, oid, kNull);  // request id 12345
}
std::string Response(const std::string& oid, const std::string& value, int status = 0, int index = 0,
                     const std::string& id = "\x30\x39") {
  return Message('\xA2', "public", id, status, index, oid, value);
}

TEST(PrinterSim, AnswersTheErrorStateOverSnmp) {
  SimulatedPrinter sim;
  struct Case {
    const char* what;
    std::string state;  // DIR/snmp-state, empty: no file
    std::string faults;
    std::string request;
    std::string answer;  // empty: no answer
  };
  const std::string get = Request("public", kErrorStateOid);
  const Case cases[] = {
      {"default", "", "", get, Response(kErrorStateOid, Tlv(0x04, std::string(1, '\0')))},
      {"jammed", "04\n", "", get, Response(kErrorStateOid, Tlv(0x04, "\x04"))},
      {"two bytes in the file", "0000", "", get, Response(kErrorStateOid, Tlv(0x04, std::string(2, '\0')))},
      {"other object", "", "", Request("public", kSysDescrOid), Response(kSysDescrOid, kNull, 2, 1)},
      {"other community", "", "", Request("private", kErrorStateOid), ""},
      {"garbage", "", "", "\x30\x84\xFF\xFF\xFF\xFF\x02", ""},
      {"snmp-silent", "", "snmp-silent", get, ""},
      {"snmp-two-bytes", "04", "snmp-two-bytes", get,
       Response(kErrorStateOid, Tlv(0x04, std::string("\x04\0", 2)))},
      {"snmp-nosuchname", "", "snmp-nosuchname", get, Response(kErrorStateOid, kNull, 2, 1)},
      {"snmp-wrong-id", "", "snmp-wrong-id", get,
       Response(kErrorStateOid, Tlv(0x04, std::string(1, '\0')), 0, 0, "\x30\x3A")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(sim.Dir() / "snmp-state");
    if (!c.state.empty()) sim.Write("snmp-state", c.state);
    sim.Write("faults", c.faults);
    Socket udp(SOCK_DGRAM, sim.SnmpPort());
    udp.Send(c.request);
    EXPECT_EQ(udp.Receive(c.answer.empty() ? 300ms : 3s), c.answer);
  }
}

// net-snmp's own client reads the answer: the encoding is not only checked
// against the test's idea of it.
TEST(PrinterSim, AnswersNetSnmpsGetRequest) {
  SimulatedPrinter sim;
  sim.Write("snmp-state", "5F");
  TempDir state;
  const auto result = RunProcess("/usr/bin/snmpget",
                                 {"-v1", "-c", "public", "-m", "", "-M", "", "-r", "0", "-t", "3", "-Ox",
                                  "--persistentDir=" + state.Path().string(),
                                  "127.0.0.1:" + std::to_string(sim.SnmpPort()), "1.3.6.1.2.1.25.3.5.1.2.1"},
                                 20);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("Hex-STRING: 5F"), std::string::npos) << result.out;
}

// A job made by the program, received over FTP and taken apart again.
TEST(PrinterSim, InspectShowsWhatAReceivedJobHolds) {
  TempDir dir;
  WriteFileBytes(dir / "o.json", R"({"printer_class": 1, "resolution": 600, "tray_name": "A3"})");
  ASSERT_EQ(RunProcess(BinaryPath("orvella"),
                       {"tool", "raster-job", std::string(ORVELLA_TEST_DATA) + "/printfile/two_pages_g4.tif",
                        (dir / "job.prn").string(), "--options", (dir / "o.json").string()})
                .exitCode,
            0);
  SimulatedPrinter sim;
  FtpDialog ftp(sim.FtpPort());
  EXPECT_EQ(Code(ftp.Reply()), "220");
  EXPECT_EQ(Code(ftp.Command("USER anonymous")), "331");
  EXPECT_EQ(Code(ftp.Command("PASS anonymous")), "230");
  Socket data(SOCK_STREAM, ftp.DataPort(ftp.Command("EPSV")));
  EXPECT_EQ(Code(ftp.Command("STOR quenbyjob")), "150");
  data.Send(ReadFileBytes(dir / "job.prn"));
  data.Close();
  EXPECT_EQ(Code(ftp.Reply()), "226");

  const auto job =
      RunProcess(BinaryPath("orvella-printer-sim"), {"inspect", (sim.Dir() / "spool/000001.prn").string()});
  EXPECT_EQ(job.exitCode, 0) << job.err;
  for (const char* line :
       {"language: RTF\n", "  ?z,tray=A3,maxarea,copies=1,600dpi,portrait,noerrorprint,singleside\n",
        "bytes: TIFF, 2 pages\n", "pages: 2\n", "  @PJL EOJ  (LF)\n"}) {
    EXPECT_NE(job.out.find(line), std::string::npos) << line << "\n" << job.out;
  }

  WriteFileBytes(dir / "cut.prn", ReadFileBytes(dir / "job.prn").substr(0, 300));
  const auto cut = RunProcess(BinaryPath("orvella-printer-sim"), {"inspect", (dir / "cut.prn").string()});
  EXPECT_EQ(cut.exitCode, 1);
  EXPECT_NE(cut.out.find("trailer: missing"), std::string::npos) << cut.out;
  EXPECT_EQ(
      RunProcess(BinaryPath("orvella-printer-sim"), {"inspect", (dir / "missing.prn").string()}).exitCode, 1);
}

// Well formed from header to trailer, yet nothing to print: the printer would
// take the job and put out no sheet.
TEST(PrinterSim, InspectFailsForAJobWithoutPages) {
  TempDir dir;
  const std::string trailer = "PG;\x1b%-12345X@PJL\n@PJL EOJ\n@PJL RESET\n";
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"raster.prn", "\x1b%-12345X@PJL\r\n@PJL ENTER LANGUAGE = RTF\r\n" + trailer},
      {"plot.prn", "\x1b%-12345X@PJL\r\n@PJL ENTER LANGUAGE = GL2\r\nIW;IN;" + trailer},
  };
  for (const auto& c : cases) {
    WriteFileBytes(dir / c.name, c.bytes);
    const auto job = RunProcess(BinaryPath("orvella-printer-sim"), {"inspect", (dir / c.name).string()});
    EXPECT_EQ(job.exitCode, 1) << c.name << "\n" << job.out;
    EXPECT_NE(job.out.find("pages: 0\n"), std::string::npos) << c.name << "\n" << job.out;
    EXPECT_NE(job.err.find(std::string(c.name) + " holds no page"), std::string::npos) << job.err;
  }
}

}  // namespace
}  // namespace orvella::test
