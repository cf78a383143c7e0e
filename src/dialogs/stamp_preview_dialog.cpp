#include "dialogs/stamp_preview_dialog.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "imaging/scaled_rect.h"
#include "imaging/stamp_renderer.h"
#include "settings/program_folders.h"

namespace orvella::dialogs {
namespace {

constexpr int kPreviewDpi = 144;
constexpr int kMaxWidth = 800, kMaxHeight = 600;
constexpr int kMinWidth = 240, kMinHeight = 120;

QImage ToImage(const imaging::StampBitmap& bitmap) {
  const int width = bitmap.size.widthPx;
  const int height = bitmap.size.heightPx;
  QImage image(width, height, QImage::Format_Mono);
  if (image.isNull()) return image;
  image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});  // a set bit is black
  const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
  for (int y = 0; y < height; ++y)
    std::memcpy(image.scanLine(y), bitmap.bits.data() + rowBytes * static_cast<size_t>(y), rowBytes);
  return image;
}

}  // namespace

StampPreviewDialog::StampPreviewDialog(QWidget* parent, const std::filesystem::path& program,
                                       const settings::StampSetting& stamp)
    : QDialog(parent) {
  setWindowTitle("プレビュー");
  imaging::StampBitmap bitmap;
  if (!imaging::RenderStampBitmap(stamp, kPreviewDpi, settings::TempFolder(program), bitmap)) return;
  image_ = ToImage(bitmap);
  char title[128];
  std::snprintf(title, sizeof title, "プレビュー ( 幅 %.1f mm x 高さ %.1f mm )", bitmap.size.widthMm,
                bitmap.size.heightMm);
  setWindowTitle(QString::fromUtf8(title));
  resize(std::clamp(image_.width(), kMinWidth, kMaxWidth),
         std::clamp(image_.height(), kMinHeight, kMaxHeight));
}

void StampPreviewDialog::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (image_.isNull()) return;
  const imaging::ScaledRect fit = imaging::FitScaled(image_.width(), image_.height(), width(), height());
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRect(fit.x, fit.y, fit.width, fit.height), image_);
}

void StampPreviewDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) reject();
}

}  // namespace orvella::dialogs
