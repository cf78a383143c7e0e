#pragma once
// The stamp as the printer will get it, painted by the same renderer at
// screen resolution and fitted to the window. A left click or Cancel (Esc)
// closes it.
#include <QDialog>
#include <QImage>
#include <filesystem>

#include "settings/stamp_settings.h"

namespace orvella::dialogs {

class StampPreviewDialog : public QDialog {
 public:
  StampPreviewDialog(QWidget* parent, const std::filesystem::path& program,
                     const settings::StampSetting& stamp);
  // False when the stamp could not be painted (an unusable image file, say).
  bool Rendered() const { return !image_.isNull(); }
  const QImage& Image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage image_;
};

}  // namespace orvella::dialogs
