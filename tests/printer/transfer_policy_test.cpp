// The transfer's decisions with the printer replaced by answers of the test's
// own: which checks are retried, when the upload happens and what is shown.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "printer/transfer.h"
#include "support/temp_dir.h"

namespace orvella::printer {
namespace {

StatusFileCheck Judged(PrinterStatusCode code, const char* message) { return {code, "", {message, ""}}; }

struct Case {
  const char* name;
  std::deque<SnmpStatus> snmp;         // answers in turn; the last one repeats
  std::deque<StatusFileCheck> status;  // likewise
  int checkRetry;
  bool sent;
  std::string message;
  std::vector<std::string> texts;  // after the memory step
  int uploads;
};

TEST(TransferPolicy, RetriesEachCheckUpToCheckRetryAndUploadsOnlyAfterBoth) {
  const StatusFileCheck ready = Judged(PrinterStatusCode::kReady, "正常");
  const StatusFileCheck unusable =
      Judged(PrinterStatusCode::kFileNotUsable, "プリンタ状態ファイル解析エラー");
  const StatusFileCheck notFetched{std::nullopt, "", {"プリンタ状態ファイル取得エラー", ""}};
  const StatusFileCheck panelOff = Judged(PrinterStatusCode::kPanelOff, "パネルがOFFになっています");
  const Case cases[] = {
      {"both fine", {SnmpStatus::kNoError}, {ready}, 2, true, "正常", {"[接続確認中]", "[転送]"}, 1},
      {"snmp answers late",
       {SnmpStatus::kNoAnswer, SnmpStatus::kNoAnswer, SnmpStatus::kNoError},
       {ready},
       2,
       true,
       "正常",
       {"[接続確認中]", "[接続確認リトライ(SNMP) 1/2]", "[接続確認リトライ(SNMP) 2/2]", "[転送]"},
       1},
      {"snmp never answers",
       {SnmpStatus::kNoAnswer},
       {ready},
       1,
       false,
       std::string(SnmpStatusMessage(SnmpStatus::kNoAnswer)),
       {"[接続確認中]", "[接続確認リトライ(SNMP) 1/1]"},
       0},
      {"status fetched on the second try",
       {SnmpStatus::kNoError},
       {notFetched, unusable, ready},
       2,
       true,
       "正常",
       {"[接続確認中]", "[接続確認リトライ(stat) 1/2]", "[接続確認リトライ(stat) 2/2]", "[転送]"},
       1},
      {"a judged state is final",
       {SnmpStatus::kNoError},
       {panelOff, ready},
       3,
       false,
       "パネルがOFFになっています",
       {"[接続確認中]"},
       0},
  };
  for (const Case& c : cases) {
    test::TempDir home;
    PrinterMemoryTable memory;
    memory.Rebuild(1, 1024, 100);
    TransferContext context(memory);
    context.hidden.checkRetry = c.checkRetry;
    context.folders = {home.Path(), home.Path(), {}};
    std::vector<std::string> texts;
    context.showStatus = [&](const std::string& text) { texts.push_back(text); };
    auto snmp = c.snmp;
    auto status = c.status;
    int uploads = 0;
    context.querySnmp = [&](const std::string& address) {
      EXPECT_EQ(address, "127.0.0.1");
      const SnmpStatus answer = snmp.front();
      if (snmp.size() > 1) snmp.pop_front();
      return answer;
    };
    context.checkStatus = [&] {
      const StatusFileCheck answer = status.front();
      if (status.size() > 1) status.pop_front();
      return answer;
    };
    context.upload = [&](const std::filesystem::path&) { return ++uploads > 0; };
    test::WriteFileBytes(home / "job.prn", "print file");
    settings::PrinterSetting printer;
    printer.ipAddr = {127, 0, 0, 1};
    base::Failure outcome;

    EXPECT_EQ(SendPrintFile(home / "job.prn", printer, "", outcome, context), c.sent) << c.name;
    EXPECT_EQ(outcome.message, c.message) << c.name;
    ASSERT_FALSE(texts.empty()) << c.name;
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 1, texts.end()), c.texts) << c.name;
    EXPECT_EQ(uploads, c.uploads) << c.name;
  }
}

TEST(TransferPolicy, APrinterWithoutAUsableAddressFailsBeforeAnyTraffic) {
  test::TempDir home;
  PrinterMemoryTable memory;
  memory.Rebuild(1, 1024, 100);
  TransferContext context(memory);
  context.folders = {home.Path(), home.Path(), {}};
  int calls = 0;
  context.querySnmp = [&](const std::string&) { return ++calls, SnmpStatus::kNoError; };
  context.checkStatus = [&] { return ++calls, StatusFileCheck{PrinterStatusCode::kReady, "", {"正常", ""}}; };
  context.upload = [&](const std::filesystem::path&) { return ++calls > 0; };
  test::WriteFileBytes(home / "job.prn", "print file");
  settings::PrinterSetting printer;
  printer.name = "製図室";  // IP_ADDR missing: 0.0.0.0
  base::Failure outcome;
  EXPECT_FALSE(SendPrintFile(home / "job.prn", printer, "", outcome, context));
  EXPECT_EQ(outcome.message, "プリンタIPアドレスエラー[製図室]");
  EXPECT_NE(outcome.detail.find("0.0.0.0"), std::string::npos) << outcome.detail;
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(memory.Entry(0)->free, 1024 * 1024);  // nothing reserved
}

}  // namespace
}  // namespace orvella::printer
