// Arbitrary bytes as the printer's information file "info": the parse, then
// the trays it fills in an A2-class printer record.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "printer/info_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvella;
  std::vector<printer::TrayInformation> records;
  std::string detail;
  if (!printer::ParseInformationFile(fuzz::InputFile(data, size), records, &detail)) return 0;
  settings::PrinterSetting record;
  record.model = settings::kA2ModelNumber;
  printer::ApplyTrayInformation(records, record);
  return 0;
}
