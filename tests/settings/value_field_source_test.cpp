// Records read from values by key, as `settings apply` reads its JSON: the
// same field enumeration as the INI files, with nothing defaulted.
#include "settings/value_field_source.h"

#include <gtest/gtest.h>

#include "settings/fold_settings.h"
#include "settings/input_settings.h"
#include "settings/preferences.h"
#include "settings/printer_settings.h"
#include "settings/stamp_settings.h"

namespace orvella::settings {
namespace {

// The values a record's fields give, as the command's JSON carries them.
class ValuesSink : public FieldSink {
 public:
  ValueFieldSource::Values values;

  void Text(std::string_view key, std::string_view value) override { Put(key, std::string(value)); }
  void Integer(std::string_view key, int value) override { Put(key, static_cast<long long>(value)); }
  void Boolean(std::string_view key, bool value) override { Put(key, value ? 1LL : 0LL); }
  void Real(std::string_view key, double value) override { Put(key, value); }
  void Keyword(std::string_view key, int number, std::string_view) override {
    Put(key, static_cast<long long>(number));
  }
  void Address(std::string_view key, const base::Ipv4Address& address) override {
    Put(key, base::FormatIpv4Address(address));
  }
  void Secret(std::string_view key, std::string_view value) override { Put(key, std::string(value)); }
  void Font(std::string_view key, const LogFont& font) override { Put(key, font); }
  using FieldSink::Keyword;

 private:
  void Put(std::string_view key, ValueFieldSource::Value value) { values.emplace(key, std::move(value)); }
};

template <typename Record, typename Visit>
ValueFieldSource::Values ValuesOf(const Record& record, Visit visit) {
  ValuesSink sink;
  visit(record, sink);
  return sink.values;
}

// Every field of a record that differs from the defaults comes back.
template <typename Record, typename Visit, typename Read>
void ExpectRoundTrip(const Record& record, Visit visit, Read read) {
  const auto values = ValuesOf(record, visit);
  ValueFieldSource source(values);
  Record back{};
  read(source, back);
  EXPECT_FALSE(source.FirstProblem()) << source.FirstProblem()->key << ": " << source.FirstProblem()->detail;
  EXPECT_TRUE(source.UnreadKeys().empty());
  EXPECT_EQ(ValuesOf(back, visit), values);
}

TEST(ValueFieldSource, ReadsBackWhatEachRecordShows) {
  PrinterSetting printer;
  printer.name = "製図室";
  printer.ipAddr = {192, 168, 1, 20};
  printer.authenticationMode = AuthenticationMode::kBasic;
  printer.loginPassword = "秘密";
  printer.model = kA2ModelNumber;
  printer.a2Trays[6] = {A2TraySize::kB5Yoko, PaperType::kOther};
  ExpectRoundTrip(printer, VisitPrinterFields, ReadPrinterFields);

  InputFolderSetting input;
  input.inputDir = "/srv/in";
  input.outputs[7] = {OutputTarget::kB4, 141.5, Rotation::kHalfTurn};
  input.stamps[2] = {"受付印", 3};
  input.zFold = ZFoldMode::kZBottom;
  ExpectRoundTrip(input, VisitInputFields, ReadInputFields);

  FoldSetting fold;
  fold.name = "折り";
  fold.folderModel = kFolderUnitFld1;
  fold.foldTypes[5] = kFoldZigzagFile;
  fold.margins[5] = 25;
  ExpectRoundTrip(fold, VisitFoldFields, ReadFoldFields);

  StampSetting stamp = NewStamp();
  stamp.type = StampType::kSimple;
  stamp.rowTexts[3] = "検図";
  ExpectRoundTrip(stamp, VisitStampFields, ReadStampFields);

  Preferences preferences;
  preferences.marginMinus = 3;
  preferences.wideHdiA4DataDirection = HdiDataDirection::kPortrait;
  preferences.netSendAddresses[2] = {10, 0, 0, 3};
  ExpectRoundTrip(preferences, VisitPreferenceFields, ReadPreferenceFields);
}

// A value the key cannot take at all is a shape problem; a value of the
// right kind that no record holds is an invalid value. Either stops reading.
TEST(ValueFieldSource, NamesTheKeyOfAValueItCannotTake) {
  struct Case {
    const char* key;
    std::optional<ValueFieldSource::Value> value;  // nullopt: the key left out
    const char* detail;
    bool invalidValue;
  };
  const Case cases[] = {
      {"NAME", std::nullopt, "missing; it takes a string", false},
      {"NAME", 5LL, "must be a string", false},
      {"A2PRINTER_TRAYSTRUCT_AUTO", 2LL, "must be 0 or 1", false},
      {"AUTHENTICATION_MODE", 1.5, "must be a whole number", false},
      {"TRAY1_SIZE", 11LL, "11 is not one of the numbers 0 to 10", true},
      {"MODEL", 6LL, "6 is not one of the numbers 0 to 5", true},
      {"IP_ADDR", std::string("192.168.1"), "\"192.168.1\" is not four numbers 0 to 255 separated by dots",
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    auto values = ValuesOf(PrinterSetting{}, VisitPrinterFields);
    values.erase(c.key);
    if (c.value) values.emplace(c.key, *c.value);
    ValueFieldSource source(values);
    PrinterSetting printer;
    ReadPrinterFields(source, printer);
    ASSERT_TRUE(source.FirstProblem());
    EXPECT_EQ(source.FirstProblem()->key, c.key);
    EXPECT_EQ(source.FirstProblem()->detail, c.detail);
    EXPECT_EQ(source.FirstProblem()->invalidValue, c.invalidValue);
  }
}

TEST(ValueFieldSource, LeftOutPasswordStaysAndUnknownKeysAreListed) {
  auto values = ValuesOf(PrinterSetting{}, VisitPrinterFields);
  values.erase("LOGIN_PASSWORD");
  values.emplace("COLOR", 1LL);
  ValueFieldSource source(values);
  PrinterSetting printer;
  printer.loginPassword = "kept";
  ReadPrinterFields(source, printer);
  EXPECT_FALSE(source.FirstProblem());
  EXPECT_EQ(printer.loginPassword, "kept");
  EXPECT_EQ(source.UnreadKeys(), std::vector<std::string>{"COLOR"});
}

}  // namespace
}  // namespace orvella::settings
