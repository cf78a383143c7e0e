#pragma once
// Splits a print file made by WriteRasterJob or WritePlotJob back into its
// parts: PJL lines, printer escape commands, the body, and the trailer.
// Used by tests, by the printer simulator and by "orvella tool inspect-job".
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "printfile/rtl_block.h"
#include "printfile/tiff_layout.h"

namespace orvella::printfile {

enum class LineEnd { kNone, kLf, kCrLf };

struct PjlLine {
  uint64_t offset = 0;
  std::string text;  // without the line end
  LineEnd end = LineEnd::kNone;
};

// ESC DC2 text ESC SP.
struct EscapeCommand {
  uint64_t offset = 0;
  std::string text;  // between ESC DC2 and ESC SP, e.g. "?z,tray=A1,maxarea"
  // For "?" commands: the two-byte command ("?z", "?5") and its
  // comma-separated arguments; for program selection ("!..."), the text.
  std::string command;
  std::vector<std::string> arguments;
};

enum class BodyPartKind {
  kTiff,      // one TIFF file
  kPlot,      // the HP-GL/2 plot data
  kPartEnd,   // "IW;IN;" after the plot and after each stamp
  kRtlStamp,  // an RTL stamp block
};

struct BodyPart {
  BodyPartKind kind = BodyPartKind::kTiff;
  uint64_t offset = 0;
  uint64_t size = 0;
  std::optional<TiffLayout> tiff;   // kTiff
  std::optional<RtlBlockInfo> rtl;  // kRtlStamp
  // kPlot: the set-up the plot rewrite puts in front, ESC %0B through
  // "PA0,0;"; empty when the plot data does not start with one.
  std::string plotPrefix;
};

// Bytes the reader could not place, or an expected part that is missing
// (size 0 at the offset where it should be).
struct Unrecognised {
  uint64_t offset = 0;
  uint64_t size = 0;
  std::string what;
};

struct PrintFileView {
  uint64_t fileSize = 0;
  bool universalExit = false;  // the file starts with ESC %-12345X
  std::vector<PjlLine> pjl;    // header lines through ENTER LANGUAGE
  std::string language;        // "RTF", "GL2", or empty when not found
  std::vector<EscapeCommand> escapes;
  std::vector<std::string> plotSetup;  // "MS-1,6,2;" ... of a plot file
  uint64_t bodyOffset = 0;
  std::vector<BodyPart> body;
  bool trailerFound = false;
  uint64_t trailerOffset = 0;  // of "PG;" (or of the exit sequence without it)
  std::vector<PjlLine> trailerPjl;
  std::vector<Unrecognised> unrecognised;

  bool Clean() const { return unrecognised.empty(); }
  size_t Count(BodyPartKind kind) const;
  // Pages a printer would print: each TIFF directory, and plot data as one.
  size_t Pages() const;
};

// Splits bytes held in memory.
PrintFileView ParsePrintFile(std::string_view bytes);

// Reads a file (mapped, not copied); nullopt with a reason in error when it
// cannot be read.
std::optional<PrintFileView> ReadPrintFile(const std::filesystem::path& path, std::string& error);

}  // namespace orvella::printfile
