// The printer list's check button against the simulated printer: the check
// runs beside the window and its answer comes in a box.
#include <QPushButton>
#include <QTreeWidget>

#include "dialog_fixture.h"
#include "dialogs/printer_list_dialog.h"
#include "settings/printer_models.h"
#include "settings/printer_settings.h"
#include "support/printer_sim.h"

namespace orvella::dialogs::test {
namespace {

using settings::PrinterSetting;

class PrinterListCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home.WriteIni("HIDDEN.INI", "[SETTING]\r\nPRINTER_FTP_PORT=\"" + std::to_string(sim.FtpPort()) +
                                    "\"\r\nPRINTER_SNMP_PORT=\"" + std::to_string(sim.SnmpPort()) +
                                    "\"\r\nCHECK_RETRY=\"0\"\r\n");
    sim.Write("stat", "Plotter (Ready.)\r\nOnline/Offline : Online.\r\n");
    PrinterSetting plotter;
    plotter.name = "plotter";
    plotter.ipAddr = {127, 0, 0, 1};
    PrinterSetting office = plotter;
    office.name = "office";
    office.model = settings::kA2ModelNumber;
    office.a2TrayStructAuto = true;
    PrinterSetting broken;
    broken.name = "broken";  // 0.0.0.0
    ASSERT_TRUE(settings::SavePrinterSettings(home.Path(), {plotter, office, broken}));
  }

  // Presses チェック on the printer of row and returns the one box shown.
  std::string Press(int row) {
    messages = {};
    PrinterListDialog dialog(nullptr, home.Path(), messages);
    QPushButton* check = Child<QPushButton>(dialog, "check");
    EXPECT_FALSE(check->isEnabled());  // nothing selected yet
    dialog.list()->setCurrentItem(dialog.list()->topLevelItem(row));
    QTest::mouseClick(check, Qt::LeftButton);
    // The press returned before the answer: the window goes on meanwhile.
    EXPECT_FALSE(check->isEnabled());
    EXPECT_TRUE(messages.information.empty() && messages.warnings.empty());
    const bool answered =
        QTest::qWaitFor([&] { return !messages.information.empty() || !messages.warnings.empty(); }, 60000);
    EXPECT_TRUE(answered);
    EXPECT_TRUE(check->isEnabled());
    const std::vector<std::string>& shown =
        messages.information.empty() ? messages.warnings : messages.information;
    EXPECT_EQ(shown.size(), 1u);
    fit = !messages.information.empty();
    return shown.empty() ? "" : shown[0];
  }

  orvella::test::SettingsHome home;
  orvella::test::SimulatedPrinter sim;
  RecordingMessages messages;
  bool fit = false;
};

TEST_F(PrinterListCheckTest, AReadyPrinterIsAFitNote) {
  EXPECT_EQ(Press(0), "印刷可能\nステータス: 正常");
  EXPECT_TRUE(fit);
}

TEST_F(PrinterListCheckTest, EveryFailedAnswerIsSaidWithItsCause) {
  sim.Write("snmp-state", "04");
  sim.Write("stat", "Office (Paper Jam.)\r\nOnline/Offline : Online.\r\n");
  const std::string text = Press(1);
  EXPECT_FALSE(fit);
  const std::string said =
      "印刷不可\nSNMP: プリンタが異常状態である可能性があります\nステータス: プリンタエラー((Paper Jam.))\n"
      "トレイ: プリンタ情報ファイル取得エラー\n【詳細】\n"
      "SNMP: the printer reports jammed (hrPrinterDetectedErrorState 0x04)\n"
      "stat: the printer reports \"Office (Paper Jam.)\"\n"
      "info: downloading info on 127.0.0.1:" +
      std::to_string(sim.FtpPort()) + ": Remote file not found";
  EXPECT_EQ(text.substr(0, said.size()), said) << text;

  EXPECT_EQ(Press(2).rfind("印刷不可\nプリンタIPアドレスエラー[broken]\n【詳細】\n", 0), 0u);
  EXPECT_FALSE(fit);
  EXPECT_EQ(sim.CountInLog("0.0.0.0"), 0);
}

}  // namespace
}  // namespace orvella::dialogs::test
