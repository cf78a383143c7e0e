// orvella printer-check and orvella tool send, run as the binary against the
// simulated printer.
#include <gtest/gtest.h>
#include <signal.h>

#include <nlohmann/json.hpp>

#include "app/serve_home.h"
#include "settings/printer_settings.h"
#include "settings/program_folders.h"
#include "support/background_process.h"
#include "support/printer_sim.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella::test {
namespace {

using Json = nlohmann::json;

class PrinterCheckCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(home / "INI");
    WriteFileBytes(home / "INI/HIDDEN.INI", "[SETTING]\r\nPRINTER_FTP_PORT=\"" +
                                                std::to_string(sim.FtpPort()) + "\"\r\nPRINTER_SNMP_PORT=\"" +
                                                std::to_string(sim.SnmpPort()) +
                                                "\"\r\nCHECK_RETRY=\"0\"\r\n");
    sim.Write("stat", "Plotter (Ready.)\r\nOnline/Offline : Online.\r\n");
    settings::PrinterSetting plotter;
    plotter.name = "plotter";
    plotter.ipAddr = {127, 0, 0, 1};
    settings::PrinterSetting office = plotter;
    office.name = "office";
    office.model = settings::kA2ModelNumber;
    office.a2TrayStructAuto = true;
    ASSERT_TRUE(settings::SavePrinterSettings(home.Path(), {plotter, office}));
  }

  ProcessResult Run(const std::vector<std::string>& words) {
    std::vector<std::string> args = {"--home", home.Path().string()};
    args.insert(args.end(), words.begin(), words.end());
    return RunProcess(BinaryPath("orvella"), args, 60);
  }

  TempDir home;
  SimulatedPrinter sim;
};

TEST_F(PrinterCheckCommands, AReadyPrinterIsFit) {
  const auto result = Run({"printer-check", "plotter"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "");  // neither the SNMP nor the FTP library prints anything
  const Json expected = {{"printer", "plotter"},
                         {"address", "127.0.0.1"},
                         {"snmp", {{"code", 0}, {"message", ""}}},
                         {"stat", {{"code", 0}, {"message", "正常"}, {"error_text", ""}}},
                         {"fit", true}};
  EXPECT_EQ(Json::parse(result.out, nullptr, false), expected);
  // The fetched files and the SNMP library's start-up folders are gone.
  EXPECT_TRUE(std::filesystem::is_empty(home / "TEMP"));
}

// A name PRINTER.INI lacks is reported with the folder that was read and how
// it was chosen: the wrong folder reads like a missing printer.
TEST_F(PrinterCheckCommands, AnUnknownPrinterNamesTheProgramFolderRead) {
  const std::string orvella = BinaryPath("orvella");
  const std::string folder = home.Path().string();
  const std::pair<std::vector<std::string>, std::string> lines[] = {
      {{orvella, "--home", folder, "printer-check", "nobody"}, "--home"},
      {{"ORVELLA_HOME=" + folder, orvella, "printer-check", "nobody"}, "$ORVELLA_HOME"},
      {{orvella, "--home", folder, "tool", "send", folder + "/job.prn", "--printer", "nobody"}, "--home"},
  };
  for (const auto& [line, origin] : lines) {
    const auto result = RunProcess("/usr/bin/env", line, 60);
    EXPECT_EQ(result.exitCode, 2) << line[3];
    EXPECT_EQ(result.err, "orvella: no printer named 'nobody' in INI/PRINTER.INI of the program folder " +
                              folder + " (" + origin + ")\n");
  }
}

TEST_F(PrinterCheckCommands, AskEachQuestionWhateverTheEarlierAnswer) {
  sim.Write("snmp-state", "04");
  sim.Write("stat", "Office (Paper Jam.)\r\nOnline/Offline : Online.\r\n");
  sim.Write("info",
            "Trays\r\nNo.  Name            Page Size  Status\r\n---\r\n"
            "1    Tray 1          A4         Ready\r\n3    Tray 3 (Thick)  A4R        Ready\r\n\r\n");
  const auto result = Run({"printer-check", "office"});
  EXPECT_EQ(result.exitCode, 1);
  const Json json = Json::parse(result.out, nullptr, false);
  EXPECT_EQ(json["snmp"],
            (Json{{"code", 1},
                  {"message", "プリンタが異常状態である可能性があります"},
                  {"detail", "the printer reports jammed (hrPrinterDetectedErrorState 0x04)"}}));
  EXPECT_EQ(json["stat"], (Json{{"code", 6},
                                {"message", "プリンタエラー((Paper Jam.))"},
                                {"error_text", "(Paper Jam.)"},
                                {"detail", "the printer reports \"Office (Paper Jam.)\""}}));
  ASSERT_EQ(json["trays"].size(), 7u);
  EXPECT_EQ(json["trays"][0],
            (Json{{"tray", 1}, {"size", 4}, {"size_keyword", "A4TATE"}, {"paper_type", 0}}));
  EXPECT_EQ(json["trays"][2],
            (Json{{"tray", 3}, {"size", 5}, {"size_keyword", "A4YOKO"}, {"paper_type", 1}}));
  EXPECT_EQ(json["fit"], false);

  std::filesystem::remove(sim.Dir() / "stat");
  std::filesystem::remove(sim.Dir() / "info");
  sim.Write("snmp-state", "00");
  const Json missing = Json::parse(Run({"printer-check", "office"}).out, nullptr, false);
  // The detail names the file and the printer, in curl's words.
  const std::string at = " on 127.0.0.1:" + std::to_string(sim.FtpPort()) + ": Remote file not found";
  EXPECT_EQ(missing["stat"], (Json{{"code", nullptr},
                                   {"message", "プリンタ状態ファイル取得エラー"},
                                   {"error_text", ""},
                                   {"detail", missing["stat"]["detail"]}}));
  EXPECT_EQ(missing["stat"]["detail"].get<std::string>().rfind("downloading stat" + at, 0), 0u)
      << missing["stat"]["detail"];
  EXPECT_EQ(missing["trays"], Json::array());
  EXPECT_EQ(missing["trays_message"], "プリンタ情報ファイル取得エラー");
  EXPECT_EQ(missing["trays_detail"].get<std::string>().rfind("downloading info" + at, 0), 0u)
      << missing["trays_detail"];
}

TEST_F(PrinterCheckCommands, APrinterWithoutAUsableAddressIsNeverContacted) {
  settings::PrinterSetting broken;
  broken.name = "broken";  // IP_ADDR unreadable: 0.0.0.0, which would reach this machine
  ASSERT_TRUE(settings::SavePrinterSettings(home.Path(), {broken}));
  WriteFileBytes(home / "job.prn", "x");
  const auto check = Run({"printer-check", "broken"});
  EXPECT_EQ(check.exitCode, 1);
  const Json json = Json::parse(check.out, nullptr, false);
  EXPECT_EQ(json["message"], "プリンタIPアドレスエラー[broken]");
  EXPECT_NE(json["detail"].get<std::string>().find("0.0.0.0"), std::string::npos);
  EXPECT_EQ(json["fit"], false);
  const auto send = Run({"tool", "send", (home / "job.prn").string(), "--printer", "broken"});
  EXPECT_EQ(send.exitCode, 1);
  EXPECT_EQ(send.out, "プリンタIPアドレスエラー[broken]\n");
  EXPECT_EQ(sim.CountInLog("connected"), 0);
}

TEST_F(PrinterCheckCommands, SendPrintsEveryStepAndTheMessage) {
  WriteFileBytes(home / "job.prn", std::string(3000, 'x'));
  auto result = Run({"tool", "send", (home / "job.prn").string(), "--printer", "plotter"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "[プリンタメモリ 199997kbyte]\n[接続確認中]\n[転送]\n正常\n");
  ASSERT_EQ(sim.SpoolFiles().size(), 1u);
  EXPECT_EQ(ReadFileBytes(sim.SpoolFiles()[0]), std::string(3000, 'x'));

  sim.Write("faults", "upload-fail");
  result = Run({"tool", "send", (home / "job.prn").string(), "--printer", "plotter"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "[プリンタメモリ 199997kbyte]\n[接続確認中]\n[転送]\nファイル転送エラー\n");
  EXPECT_NE(result.err.find("detail: uploading to quenbyjob on 127.0.0.1:"), std::string::npos) << result.err;
}

// A send killed in mid-upload leaves no job at the printer: the data
// connection dies with a reset, not the orderly close that would make the
// part received a whole job. (The upload outgrows the socket buffers, so it
// is still being sent at the kill.)
TEST_F(PrinterCheckCommands, ASendKilledInMidUploadLeavesNoJob) {
  WriteFileBytes(home / "job.prn", std::string(16 << 20, 'x'));
  sim.Write("faults", "transfer-rate 400000\n");
  BackgroundProcess send(
      BinaryPath("orvella"),
      {"--home", home.Path().string(), "tool", "send", (home / "job.prn").string(), "--printer", "plotter"},
      home / "send.out");
  const auto received = [&] {
    for (const auto& entry : std::filesystem::directory_iterator(sim.Dir() / "spool")) {
      if (entry.path().extension() == ".part" && entry.file_size() >= 100000) return true;
    }
    return false;
  };
  ASSERT_TRUE(WaitUntil(received, std::chrono::seconds(30))) << sim.Log();
  ASSERT_EQ(::kill(send.Pid(), SIGKILL), 0);
  EXPECT_EQ(send.WaitExit(std::chrono::seconds(5)), -1);
  ASSERT_TRUE(WaitUntil([&] { return sim.CountInLog("] upload cut by a reset after ") == 1; },
                        std::chrono::seconds(10)))
      << sim.Log();
  EXPECT_TRUE(sim.SpoolFiles().empty());
  EXPECT_EQ(sim.CountInLog("stored spool/"), 0);
}

}  // namespace
}  // namespace orvella::test
