#include "settings/printer_validation.h"

#include <gtest/gtest.h>

namespace orvella::settings {
namespace {

PrinterSetting Printer(std::string name, base::Ipv4Address address) {
  PrinterSetting p;
  p.name = std::move(name);
  p.ipAddr = address;
  return p;
}

const std::vector<PrinterSetting> kList = {Printer("Plotter", {10, 0, 0, 1}),
                                           Printer("Office", {10, 0, 0, 2})};

TEST(PrinterValidation, NameIsTrimmedOfAsciiAndFullWidthSpaces) {
  const PrinterSetting p = Printer("\xE3\x80\x80 製図室 \xE3\x80\x80 ", {10, 0, 0, 9});
  EXPECT_FALSE(ValidatePrinterSetting(p, kList, std::nullopt));
  auto taken = ValidatePrinterSetting(Printer(" Plotter\xE3\x80\x80", {10, 0, 0, 9}), kList, std::nullopt);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->field, PrinterField::kName);

  PrinterSetting blank = Printer(" \xE3\x80\x80", {10, 0, 0, 9});
  auto failure = ValidatePrinterSetting(blank, kList, std::nullopt);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->message, "プリンタ設定名称を入力してください。");
  EXPECT_EQ(failure->field, PrinterField::kName);
}

TEST(PrinterValidation, DuplicatesAreCheckedPerPrinterInListOrder) {
  struct Case {
    PrinterSetting printer;
    std::optional<size_t> edited;
    std::optional<PrinterField> failure;
  };
  const Case cases[] = {
      {Printer("Plotter", {10, 0, 0, 9}), std::nullopt, PrinterField::kName},
      {Printer("plotter", {10, 0, 0, 9}), std::nullopt, std::nullopt},  // letter case counts
      {Printer("New", {10, 0, 0, 2}), std::nullopt, PrinterField::kIpAddr},
      // Same address as the first and same name as the second: the first printer is met first.
      {Printer("Office", {10, 0, 0, 1}), std::nullopt, PrinterField::kIpAddr},
      {Printer("Plotter", {10, 0, 0, 1}), 0, std::nullopt},  // editing without change
      {Printer("Office", {10, 0, 0, 1}), 1, PrinterField::kIpAddr},
  };
  for (const auto& c : cases) {
    PrinterSetting p = c.printer;
    auto failure = ValidatePrinterSetting(p, kList, c.edited);
    ASSERT_EQ(failure.has_value(), c.failure.has_value()) << c.printer.name;
    if (!failure) continue;
    EXPECT_EQ(failure->field, *c.failure) << c.printer.name;
    EXPECT_EQ(failure->message, *c.failure == PrinterField::kName
                                    ? "入力された設定名称は既に登録されています。"
                                    : "入力されたIPアドレスは既に登録されています。");
  }
}

TEST(PrinterValidation, OnlyAnAddressOfOneMachineIsTaken) {
  for (const base::Ipv4Address address :
       {base::Ipv4Address{0, 0, 0, 0}, {0, 1, 2, 3}, {224, 0, 0, 1}, {255, 255, 255, 255}}) {
    PrinterSetting p = Printer("New", address);
    const auto failure = ValidatePrinterSetting(p, kList, std::nullopt);
    ASSERT_TRUE(failure) << base::FormatIpv4Address(address);
    EXPECT_EQ(failure->message, "IPアドレスが正しくありません。");
    EXPECT_EQ(failure->field, PrinterField::kIpAddr);
  }
  PrinterSetting local = Printer("New", {127, 0, 0, 1});
  EXPECT_FALSE(ValidatePrinterSetting(local, kList, std::nullopt));
}

TEST(PrinterValidation, TextsMustFitTheFiles) {
  // Limits count Shift_JIS bytes: a kanji is two.
  PrinterSetting fits = Printer(std::string(48, 'a') + "製", {10, 0, 0, 9});
  EXPECT_FALSE(ValidatePrinterSetting(fits, kList, std::nullopt));
  PrinterSetting longName = Printer(std::string(49, 'a') + "製", {10, 0, 0, 9});
  auto failure = ValidatePrinterSetting(longName, kList, std::nullopt);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->message, "設定名称は半角 50 文字以内で指定してください。");

  PrinterSetting emoji = Printer("p", {10, 0, 0, 9});
  emoji.loginUsername = "\xF0\x9F\x98\x80";
  failure = ValidatePrinterSetting(emoji, kList, std::nullopt);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->field, PrinterField::kLoginUsername);
}

}  // namespace
}  // namespace orvella::settings
