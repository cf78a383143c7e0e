#include "printfile/raster_job.h"

#include "base/fixed_format.h"
#include "printfile/fold_commands.h"
#include "printfile/job_option_checks.h"
#include "printfile/pjl_bytes.h"
#include "printfile/print_file_writer.h"

namespace orvella::printfile {
namespace {

// Staple, punch and Z-fold lines of the A2 finisher; index 0 writes nothing.
constexpr const char* kStapleLines[] = {nullptr,
                                        "@PJL SET STAPLE = LEFTTOP\n",
                                        "@PJL SET STAPLE = RIGHTTOP\n",
                                        "@PJL SET STAPLE = LEFT2PORT\n",
                                        "@PJL SET STAPLE = RIGHT2PORT\n",
                                        "@PJL SET STAPLE = TOP2PORT\n"};
constexpr const char* kPunchLines[] = {nullptr, "@PJL SET PUNCH = LEFTPORT\n", "@PJL SET PUNCH = RIGHTPORT\n",
                                       "@PJL SET PUNCH = TOPPORT\n"};
constexpr const char* kZFoldLines[] = {nullptr, "@PJL SET FOLD = ZLEFT\n", "@PJL SET FOLD = ZRIGHT\n",
                                       "@PJL SET FOLD = ZBOTTOM\n"};
constexpr const char* kDuplexOptions[] = {",singleside", ",bothside", ",flip"};

template <size_t N>
void AppendChoice(std::string& out, const char* const (&choices)[N], int value) {
  if (value >= 0 && static_cast<size_t>(value) < N && choices[value] != nullptr) out += choices[value];
}

void AppendFinisherCommands(std::string& h, const RasterJobOptions& o) {
  AppendChoice(h, kStapleLines, o.finishing.staple);
  AppendChoice(h, kPunchLines, o.finishing.punch);
  AppendChoice(h, kZFoldLines, o.finishing.zFold);
  if (o.quantity >= 2) h += "@PJL SET QTY = " + std::to_string(o.quantity) + "\n";
}

void AppendPrintConditions(std::string& h, const RasterJobOptions& o) {
  const bool a2 = o.printerClass == kPrinterClassA2;
  h += "\x1b\x12?z";
  if (a2 && o.finishing.autoPaper != 0) {
    h += ",autopaper=" + std::to_string(o.finishing.autoPaperPercent) + "%,autotray";
  } else {
    h += ",tray=" + o.trayName;
  }
  h += ",maxarea,copies=1," + std::to_string(o.resolution) + "dpi";
  if (o.xMagnification != 0) h += ",xmag=" + base::FormatFixed(o.xMagnification, 3);
  if (o.yMagnification != 0) h += ",ymag=" + base::FormatFixed(o.yMagnification, 3);
  if (o.fit != 0) h += ",tifffit";
  h += o.landscape != 0 ? ",landscape" : ",portrait";
  if (o.printerClass == kPrinterClassWide && o.freeSizeFlag != 0) {
    h += ",freesize=" + std::to_string(o.freeSizeWidth) + "x" + std::to_string(o.freeSizeHeight);
  }
  h += o.errorPrint != 0 ? ",errorprint" : ",noerrorprint";
  if (a2) {
    AppendChoice(h, kDuplexOptions, o.finishing.duplex);
    if (o.finishing.twoUp != 0) {
      h += o.landscape != 0 ? ",multicols=2,multirows=1" : ",multicols=1,multirows=2";
      h += ",leftspace=0,rightspace=0,topspace=0,bottomspace=0";
    }
    if (o.finishing.zFold != 0) h += ",usualrot";
  }
  h += kEscapeEnd;
}

}  // namespace

std::string BuildRasterJobHeader(const RasterJobOptions& o) {
  std::string h(kUniversalExit);
  h += "@PJL\r\n@PJL JOB\n@PJL SET USERID = \"DEFAULT\"\n";
  if (o.printerClass == kPrinterClassWide) {
    AppendFoldCommands(h, o.foldType, o.foldMargin);
  } else if (o.printerClass == kPrinterClassA2) {
    AppendFinisherCommands(h, o);
  }
  h += "@PJL SET COPIERSTAMP = OFF\n@PJL ENTER LANGUAGE = RTF\r\n";
  if (o.programNumber != 0) {
    h += "\x1b\x12!0@P" + std::to_string(o.programNumber) + "\x1b ";
  } else {
    h += "\x1b\x12!-1@RTF\x1b ";
  }
  AppendPrintConditions(h, o);
  return h;
}

bool WriteRasterJob(const std::filesystem::path& tiff, const std::filesystem::path& output,
                    const RasterJobOptions& options, std::string* detail) {
  if (const auto refused = CheckRasterJobOptions(options)) {
    if (detail) *detail = *refused;
    return false;
  }
  PrintFileWriter out;
  const bool written = out.Create(output) && out.Write(BuildRasterJobHeader(options)) && out.Copy(tiff) &&
                       out.Write(kJobTrailer);
  return out.Finish(written, detail);
}

}  // namespace orvella::printfile
