#pragma once
// The print-file reader's view as JSON, for "orvella tool inspect-job".
#include <nlohmann/json.hpp>

#include "printfile/print_file_reader.h"

namespace orvella::cli {

nlohmann::ordered_json PrintFileToJson(const printfile::PrintFileView& view);

}  // namespace orvella::cli
