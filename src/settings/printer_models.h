#pragma once
// The printer models the system knows. The position in the catalogue is the
// model number a printer record holds: 0 to 4 are the wide-format models,
// 5 is the A2 class (every A2-or-smaller printer), 6 to 31 are older keys of
// individual A2 models, accepted when reading and never written.
#include <array>
#include <optional>
#include <string_view>

namespace orvella::settings {

struct PrinterModel {
  std::string_view key;          // as stored under MODEL
  std::string_view displayName;  // empty for the A2 class
  bool wide;
  int dpi;          // resolution of the page geometry
  int highestTray;  // largest "Tray " number accepted from the printer's information file
};

inline constexpr int kWideModelCount = 5;
inline constexpr int kA2ModelNumber = 5;
inline constexpr int kDefaultModelNumber = 2;  // "MODEL_03"
inline constexpr int kModel05Number = 0;
inline constexpr int kModel03Number = 2;
inline constexpr int kModel02Number = 3;  // has its own long-page handling
inline constexpr int kModel01Number = 4;

// All 32 rows in catalogue order.
inline constexpr std::array<PrinterModel, 32> kPrinterModels{{
    {"MODEL_05", "Model 05", true, 400, 12}, {"MODEL_04", "Model 04", true, 600, 9},
    {"MODEL_03", "Model 03", true, 600, 7},  {"MODEL_02", "Model 02", true, 600, 12},
    {"MODEL_01", "Model 01", true, 600, 7},  {"A2_PRINTERS", "", false, 600, 7},
    {"MODEL_31", "Model 31", false, 600, 5}, {"MODEL_30", "Model 30", false, 600, 7},
    {"MODEL_29", "Model 29", false, 600, 5}, {"MODEL_28", "Model 28", false, 600, 5},
    {"MODEL_27", "Model 27", false, 600, 4}, {"MODEL_26", "Model 26", false, 600, 4},
    {"MODEL_25", "Model 25", false, 600, 4}, {"MODEL_24", "Model 24", false, 600, 4},
    {"MODEL_23", "Model 23", false, 600, 4}, {"MODEL_22", "Model 22", false, 600, 4},
    {"MODEL_21", "Model 21", false, 600, 4}, {"MODEL_20", "Model 20", false, 600, 4},
    {"MODEL_19", "Model 19", false, 600, 4}, {"MODEL_18", "Model 18", false, 600, 4},
    {"MODEL_17", "Model 17", false, 600, 7}, {"MODEL_16", "Model 16", false, 600, 7},
    {"MODEL_15", "Model 15", false, 600, 7}, {"MODEL_14", "Model 14", false, 600, 7},
    {"MODEL_13", "Model 13", false, 600, 5}, {"MODEL_12", "Model 12", false, 600, 5},
    {"MODEL_11", "Model 11", false, 600, 5}, {"MODEL_10", "Model 10", false, 600, 4},
    {"MODEL_09", "Model 09", false, 600, 4}, {"MODEL_08", "Model 08", false, 600, 4},
    {"MODEL_07", "Model 07", false, 600, 4}, {"MODEL_06", "Model 06", false, 600, 4},
}};

// The catalogue row of a model number; nullopt outside the catalogue.
std::optional<PrinterModel> PrinterModelInfo(int model);

// The model number whose key equals text exactly, or nullopt.
std::optional<int> PrinterModelFromKey(std::string_view text);

}  // namespace orvella::settings
