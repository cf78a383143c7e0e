// The example program folder of docs/settings.md, as the built program reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella {
namespace {

using Json = nlohmann::json;

// One of each record, every name the input folder uses present, Japanese text
// read from CP932, and both printers on loopback behind HIDDEN.INI's ports.
TEST(ExampleProgramFolder, LoadsAsDocumented) {
  test::TempDir dir;
  std::filesystem::copy(ORVELLA_EXAMPLES "/program-folder", dir / "home",
                        std::filesystem::copy_options::recursive);
  const auto result =
      test::RunProcess(test::BinaryPath("orvella"), {"settings", "dump", "--home", (dir / "home").string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const Json dump = Json::parse(result.out);
  ASSERT_EQ(dump["inputs"].size(), 1u);
  ASSERT_EQ(dump["printers"].size(), 2u);
  ASSERT_EQ(dump["folds"].size(), 1u);
  ASSERT_EQ(dump["stamps"].size(), 1u);

  const Json& input = dump["inputs"][0];
  const Json& wide = dump["printers"][0];
  const Json& a2 = dump["printers"][1];
  const Json& fold = dump["folds"][0];
  const Json& stamp = dump["stamps"][0];
  EXPECT_LT(wide["MODEL"], 5);  // models 0 to 4 are wide-format
  EXPECT_EQ(a2["MODEL"], 5);    // the A2 class
  EXPECT_EQ(input["WIDE_PRINTER_NAME"], wide["NAME"]);
  EXPECT_EQ(input["A2_PRINTER_NAME"], a2["NAME"]);
  EXPECT_EQ(input["STAMP1_NAME"], stamp["NAME"]);
  EXPECT_EQ(input["WIDEOPTION_FOLDNAME"], fold["NAME"]);

  EXPECT_EQ(input["MEMO"], "製図室の図面（A0～A4）");
  EXPECT_EQ(stamp["NAME"], "受付印");
  EXPECT_EQ(stamp["ROW3_TEXT"], "製図室");
  EXPECT_EQ(stamp["FONT"]["face_name"], "ＭＳ Ｐゴシック");  // a font record only reads with a good checksum
  EXPECT_EQ(a2["A2PRINTER_NAME"], "事務所の複合機");

  // Only fold types the fold's unit offers: the fold dialog would refuse others.
  const Json& unit = dump["folder_models"].at(fold["MODEL"].get<size_t>());
  for (const std::string slot : {"A0TATE", "A1TATE", "A1YOKO", "A2TATE", "A2YOKO", "A3TATE"}) {
    const Json& offered = unit[slot];
    EXPECT_NE(std::find(offered.begin(), offered.end(), fold[slot + "_FOLDTYPE"]), offered.end()) << slot;
  }

  EXPECT_EQ(wide["IP_ADDR"], "127.0.0.1");
  EXPECT_EQ(a2["IP_ADDR"], "127.0.0.2");
  EXPECT_EQ(dump["hidden"]["PRINTER_FTP_PORT"], 2121);
  EXPECT_EQ(dump["hidden"]["PRINTER_SNMP_PORT"], 1161);
}

}  // namespace
}  // namespace orvella
