#include "app/commands/raster_options_json.h"

namespace orvella::cli {

void ReadRasterHeaderFields(JsonFields& read, printfile::RasterJobOptions& o) {
  read.Int("free_size_width", o.freeSizeWidth);
  read.Int("free_size_height", o.freeSizeHeight);
  read.Text("tray_name", o.trayName);
  read.Int("free_size_flag", o.freeSizeFlag);
  read.Int("program_number", o.programNumber);
  read.Int("landscape", o.landscape);
  read.Int("error_print", o.errorPrint);
  read.Int("fold_type", o.foldType);
  read.Int("fold_margin", o.foldMargin);
  read.Int("staple", o.finishing.staple);
  read.Int("punch", o.finishing.punch);
  read.Int("duplex", o.finishing.duplex);
  read.Int("z_fold", o.finishing.zFold);
  read.Int("two_up", o.finishing.twoUp);
  read.Int("auto_paper", o.finishing.autoPaper);
  read.Int("auto_paper_percent", o.finishing.autoPaperPercent);
  read.Int("quantity", o.quantity);
  read.Int("resolution", o.resolution);
  read.Int("printer_class", o.printerClass);
}

}  // namespace orvella::cli
