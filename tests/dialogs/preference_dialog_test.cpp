#include "dialogs/preference_dialog.h"

#include <QCheckBox>
#include <QRadioButton>
#include <ctime>
#include <sstream>

#include "dialog_fixture.h"
#include "logging/job_log.h"
#include "settings/preferences.h"

namespace orvella::dialogs::test {
namespace {

class PreferenceDialogTest : public ::testing::Test {
 protected:
  orvella::test::SettingsHome home;
  RecordingMessages messages;
};

QLineEdit* MarginEdit(const QWidget& dialog, const char* name) {
  return dialog.findChild<QWidget*>(name)->findChild<QLineEdit*>();
}

TEST_F(PreferenceDialogTest, MarginsOutsideTheRangeAreRefusedAtTheirField) {
  struct Case {
    const char *plus, *minus;
    std::string message;
    const char* field;
  };
  const Case cases[] = {
      {"100", "0", "マージンプラス値は0～99で指定してください。", "marginPlus"},
      {"1.5", "0", "マージンプラス値は0～99で指定してください。", "marginPlus"},
      {"99", "", "マージンマイナス値は0～99で指定してください。", "marginMinus"},
      {"0", "-1", "マージンマイナス値は0～99で指定してください。", "marginMinus"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.plus) + " " + c.minus);
    messages.warnings.clear();
    PreferenceDialog dialog(nullptr, home.Path(), messages);
    ShowActive(dialog);
    MarginEdit(dialog, "marginPlus")->setText(c.plus);
    MarginEdit(dialog, "marginMinus")->setText(c.minus);
    dialog.accept();
    ExpectFieldFailure(dialog, messages, c.message, c.field);
    EXPECT_FALSE(std::filesystem::exists(home.Ini("PREFERENCE.INI")));
  }
}

TEST_F(PreferenceDialogTest, OkWritesEveryValueKeyByKeyInTheDialogsOrder) {
  PreferenceDialog dialog(nullptr, home.Path(), messages);
  Screenshot(dialog, "preference");
  MarginEdit(dialog, "marginPlus")->setText("7");
  MarginEdit(dialog, "marginMinus")->setText("0");
  Child<QRadioButton>(dialog, "a4Portrait")->setChecked(true);
  Child<QCheckBox>(dialog, "model02Rotation")->setChecked(true);
  SetText(dialog, "netSendAddress2", "127.0.0.2");
  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted);

  settings::Preferences expected;
  expected.marginPlus = 7;
  expected.marginMinus = 0;
  expected.wideHdiA4DataDirection = settings::HdiDataDirection::kPortrait;
  expected.model02Rotation = true;
  expected.netSendAddresses[1] = {127, 0, 0, 2};
  EXPECT_EQ(settings::LoadPreferences(home.Path()), expected);

  // Each write of a key the file lacks appends it, so the file shows the order.
  std::vector<std::string> keys;
  std::istringstream lines(home.ReadIni("PREFERENCE.INI"));
  for (std::string line; std::getline(lines, line);)
    if (const auto eq = line.find('='); eq != std::string::npos) keys.push_back(line.substr(0, eq));
  const std::vector<std::string> order{
      "MARGIN_PLUS",         "MARGIN_MINUS",        "TIFFRESOPROC_ON_PRINTER",   "MODEL02_ROTATION",
      "ENABLE_PANELOFF",     "ENABLE_ENERGYSAVE",   "WIDE_HDI_A0DATA_DIRECTION", "WIDE_HDI_A4DATA_DIRECTION",
      "NETSEND_PC1_IP_ADDR", "NETSEND_PC2_IP_ADDR", "NETSEND_PC3_IP_ADDR"};
  EXPECT_EQ(keys, order);
}

TEST_F(PreferenceDialogTest, PanelOffAndEnergySaveShowOnlyWhenHiddenSettingsAllowThem) {
  for (const bool allowed : {false, true}) {
    home.WriteIni("HIDDEN.INI", std::string("[SETTING]\nENABLE_PANELOFF_AND_ENERGYSAVE_SETTING=") +
                                    (allowed ? "TRUE" : "FALSE") + "\n");
    PreferenceDialog dialog(nullptr, home.Path(), messages);
    dialog.show();
    EXPECT_EQ(Child<QCheckBox>(dialog, "enablePanelOff")->isVisible(), allowed);
    EXPECT_EQ(Child<QCheckBox>(dialog, "enableEnergySave")->isVisible(), allowed);
  }
}

TEST_F(PreferenceDialogTest, SendTest) {
  std::filesystem::create_directories(home.Path() / "LOG");
  {
    PreferenceDialog dialog(nullptr, home.Path(), messages);
    ShowActive(dialog);
    dialog.SendTest(0);
    ExpectFieldFailure(dialog, messages, "正しいIPアドレスを指定してください。", "netSendAddress1");
  }
  {
    messages.warnings.clear();
    PreferenceDialog dialog(nullptr, home.Path(), messages, {"/nonexistent/orvella-netsend"});
    SetText(dialog, "netSendAddress3", "127.0.0.3");
    dialog.SendTest(2);
    EXPECT_EQ(messages.warnings, std::vector<std::string>{"テストメッセージの送信に失敗しました。"});
  }
  {
    // A sender that starts and exits at once stands for one that delivered.
    messages.warnings.clear();
    PreferenceDialog dialog(nullptr, home.Path(), messages, {"/bin/true"});
    SetText(dialog, "netSendAddress3", "127.0.0.3");
    dialog.SendTest(2);
    EXPECT_TRUE(messages.warnings.empty());
    ASSERT_EQ(messages.information.size(), 1u);
    EXPECT_EQ(messages.information[0],
              "テストメッセージを送信しました。送信先PCで確認してください。\r\n\r\n"
              "※送信先にメッセージが表示されるまで、しばらく時間が掛かる場合があります。");
    const std::string log = base::Cp932ToUtf8(
        orvella::test::ReadFileBytes(logging::DailyLogPath(home.Path(), std::time(nullptr))));
    EXPECT_NE(log.find("テストメッセージを送信しました(IPアドレス: 127.0.0.3)"), std::string::npos) << log;
  }
}

}  // namespace
}  // namespace orvella::dialogs::test
