#include <stdlib.h>

#include <string>
#include <vector>

#include "base/unique_fd.h"
#include "imaging/stamp_painter.h"
#include "imaging/tiff_page_info.h"
#include "imaging/tiff_resample.h"
#include "imaging/tiff_temp_file.h"

namespace orvella::imaging {
namespace {

using settings::StampSetting;

constexpr int kShiftJisCharSet = 128;

// The current date, alone, exactly the size of its text.
bool PaintDate(const StampSetting& stamp, int dpi, const StampDate& today, StampCanvas& canvas) {
  const FontRequest font = StampFontRequest(stamp.font);
  const std::string text = FormatStampDate(static_cast<int>(stamp.dateType), today);
  const TextSizeMm size = MeasureText(text, font, stamp.pointSize, dpi);
  return canvas.Create(size.width, size.height, dpi) && canvas.DrawText(0, 0, text, font, stamp.pointSize);
}

// A picture from a 1-bit TIFF, resampled to the job's resolution when it has
// another one.
bool PaintImage(const StampSetting& stamp, int dpi, StampCanvas& canvas,
                const std::filesystem::path& scratch) {
  const std::filesystem::path source = stamp.imagePath;
  TiffPageInfo info;
  if (source.empty() || ReadPageInfo(source, 0, info) != kTiffOk) return false;
  if (TruncateDpi(ResolutionDpi(info.xResolution, info.resolutionUnit)) == dpi)
    return canvas.LoadTiff(source);

  std::string temp = (scratch / "~tmXXXXXX").string();
  // Only the name is wanted: the new file's descriptor is closed at once.
  if (!base::UniqueFd(mkstemp(temp.data()))) return false;
  FileRemover removeTemp{std::filesystem::path(temp)};
  return ResampleTiff(source, temp, dpi, 1.0, false, false) == kTiffOk && canvas.LoadTiff(temp);
}

// Three or four text rows, one of them possibly the date, inside an optional
// border with optional ruler lines between the rows.
bool PaintSimple(const StampSetting& stamp, int dpi, const StampDate& today, StampCanvas& canvas,
                 StampLayout* layoutOut) {
  const auto border = static_cast<BorderType>(stamp.borderType);
  const double lineWidth = stamp.lineWidth * 0.1;
  const double bw = border != BorderType::kNone ? lineWidth : 0;
  const double rw = stamp.rulerLines ? lineWidth : 0;
  const FontRequest font = StampFontRequest(stamp.font);

  const size_t rowCount = stamp.fourthRow ? 4 : 3;
  std::vector<std::string> rows;
  for (size_t i = 0; i < rowCount; ++i) rows.push_back(stamp.rowTexts[i].empty() ? " " : stamp.rowTexts[i]);
  if (stamp.dateRow >= 1 && static_cast<size_t>(stamp.dateRow) <= rowCount)
    rows[stamp.dateRow - 1] = FormatStampDate(static_cast<int>(stamp.dateType), today);
  std::vector<RowSize> sizes;
  for (const std::string& row : rows) {
    const TextSizeMm size = MeasureText(row, font, stamp.pointSize, dpi);
    sizes.push_back({size.width, size.height});
  }

  StampLayout layout = LayoutSimpleStamp(border, bw, rw, std::move(rows), sizes);
  bool ok = canvas.Create(layout.SurfaceWidth(), layout.SurfaceHeight(), dpi);
  const MmRect& box = layout.borderBox;
  if (ok && border == BorderType::kSquare) ok = canvas.DrawRectangle(box.x0, box.y0, box.x1, box.y1, bw);
  if (ok && border == BorderType::kRoundedSquare)
    ok = canvas.DrawRoundRect(box.x0, box.y0, box.x1, box.y1, bw);
  if (ok && border == BorderType::kCircle) ok = canvas.DrawEllipse(box.x0, box.y0, box.x1, box.y1, bw);
  if (rw != 0) {
    for (const MmRect& r : layout.rulers) ok = ok && canvas.DrawLine(r.x0, r.y0, r.x1, r.y1, rw);
  }
  for (size_t i = 0; i < layout.rows.size(); ++i) {
    // A row left empty keeps its place but has nothing to draw.
    if (layout.rows[i] == " ") continue;
    ok = ok &&
         canvas.DrawText(layout.rowBoxes[i].x0, layout.rowBoxes[i].y0, layout.rows[i], font, stamp.pointSize);
  }
  if (layoutOut) *layoutOut = std::move(layout);
  return ok;
}

RenderedStamp Describe(const StampCanvas& canvas, StampLayout layout) {
  return {.widthPx = canvas.Width(),
          .heightPx = canvas.Height(),
          .widthMm = canvas.WidthMm(),
          .heightMm = canvas.HeightMm(),
          .layout = std::move(layout)};
}

}  // namespace

FontRequest StampFontRequest(const settings::LogFont& font) {
  return {.face = font.FaceNameUtf8(),
          .weight = font.weight,
          .italic = font.italic != 0,
          .underline = font.underline != 0,
          .strikeOut = font.strikeOut != 0,
          .japanese = font.charSet == kShiftJisCharSet};
}

bool PaintStamp(const StampSetting& stamp, int dpi, const StampDate& today, StampCanvas& canvas,
                const std::filesystem::path& scratch, StampLayout* layout) {
  switch (stamp.type) {
    case settings::StampType::kDate:
      return PaintDate(stamp, dpi, today, canvas);
    case settings::StampType::kImage:
      return PaintImage(stamp, dpi, canvas, scratch);
    case settings::StampType::kSimple:
      return PaintSimple(stamp, dpi, today, canvas, layout);
  }
  return false;
}

bool RenderStamp(const StampSetting& stamp, int dpi, const std::filesystem::path& output,
                 const StampDate& today, RenderedStamp* rendered) {
  StampCanvas canvas;
  StampLayout layout;
  if (!PaintStamp(stamp, dpi, today, canvas, output.parent_path(), &layout) || !canvas.SaveTiff(output))
    return false;
  if (rendered) *rendered = Describe(canvas, std::move(layout));
  return true;
}

bool RenderStampBitmap(const StampSetting& stamp, int dpi, const std::filesystem::path& scratch,
                       StampBitmap& out, const StampDate& today) {
  StampCanvas canvas;
  StampLayout layout;
  if (!PaintStamp(stamp, dpi, today, canvas, scratch, &layout)) return false;
  out.size = Describe(canvas, std::move(layout));
  const size_t rowBytes = (static_cast<size_t>(canvas.Width()) + 7) / 8;
  out.bits.assign(rowBytes * static_cast<size_t>(canvas.Height()), 0);
  for (int y = 0; y < canvas.Height(); ++y)
    canvas.CopyRow(y, out.bits.data() + rowBytes * static_cast<size_t>(y));
  return true;
}

}  // namespace orvella::imaging
