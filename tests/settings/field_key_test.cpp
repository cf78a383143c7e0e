// Every field a record stores is found again by its member, under the key
// its enumeration gives: the keys the settings checks name come from there.
#include "settings/field_key.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "settings/fold_settings.h"
#include "settings/input_settings.h"
#include "settings/preferences.h"
#include "settings/printer_settings.h"
#include "settings/stamp_settings.h"

namespace orvella::settings {
namespace {

// The keys an enumeration gives a sink, in order.
class KeySink : public FieldSink {
 public:
  std::vector<std::string> keys;

  void Text(std::string_view key, std::string_view) override { keys.emplace_back(key); }
  void Integer(std::string_view key, int) override { keys.emplace_back(key); }
  void Boolean(std::string_view key, bool) override { keys.emplace_back(key); }
  void Real(std::string_view key, double) override { keys.emplace_back(key); }
  void Keyword(std::string_view key, int, std::string_view) override { keys.emplace_back(key); }
  void Address(std::string_view key, const base::Ipv4Address&) override { keys.emplace_back(key); }
  void Secret(std::string_view key, std::string_view) override { keys.emplace_back(key); }
  void Font(std::string_view key, const LogFont&) override { keys.emplace_back(key); }
  using FieldSink::Keyword;
};

template <typename Record>
void ExpectEveryFieldMapsBack(const Record& record, void (*visit)(const Record&, FieldSink&)) {
  KeySink sink;
  visit(record, sink);
  const std::vector<StoredField> stored = StoredFields(record);
  std::vector<std::string> keys;
  for (const StoredField& field : stored) keys.push_back(field.key);
  EXPECT_EQ(keys, sink.keys);

  const auto* begin = reinterpret_cast<const char*>(&record);
  std::set<const void*> members;
  for (const StoredField& field : stored) {
    SCOPED_TRACE(field.key);
    // A member of the record itself, each its own: never a copy.
    const auto* at = static_cast<const char*>(field.member);
    EXPECT_TRUE(!std::less<>()(at, begin) && std::less<>()(at, begin + sizeof(Record)));
    EXPECT_TRUE(members.insert(field.member).second);
    EXPECT_EQ(FieldKey(record, field.member), field.key);
  }
}

TEST(FieldKey, EveryStoredFieldMapsBackToItsKey) {
  ExpectEveryFieldMapsBack(InputFolderSetting{}, VisitInputFields);
  ExpectEveryFieldMapsBack(PrinterSetting{}, VisitPrinterFields);
  ExpectEveryFieldMapsBack(FoldSetting{}, VisitFoldFields);
  ExpectEveryFieldMapsBack(StampSetting{}, VisitStampFields);
  ExpectEveryFieldMapsBack(Preferences{}, VisitPreferenceFields);

  // Repeated fields by their row, as the checks name them.
  const InputFolderSetting input;
  EXPECT_EQ(FieldKey(input, &input.outputs[5].magnification), "OUTPUT_SETTING_INFIXED_MAG");
  EXPECT_EQ(FieldKey(input, &input.stamps[2].name), "STAMP3_NAME");
  const StampSetting stamp;
  EXPECT_EQ(FieldKey(stamp, &stamp.rowTexts[0]), "ROW1_TEXT");
  const FoldSetting fold;
  EXPECT_EQ(FieldKey(fold, &fold.margins[1]), std::string(kFoldSizeSlots[1].prefix) + "_FOLDMARGIN");
  const PrinterSetting printer;
  EXPECT_EQ(FieldKey(printer, &printer.loginPassword), "LOGIN_PASSWORD");
}

}  // namespace
}  // namespace orvella::settings
