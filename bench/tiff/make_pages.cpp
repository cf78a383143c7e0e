// Makes deterministic drawing-like 1-bit pages for the TIFF benchmarks: a
// double frame, a thin grid, hatched areas, circles, paragraphs of text-like
// glyphs and a title block; Group 4 compressed, one strip.
//   orvella-bench-make-pages FOLDER   -> a0_600.tif, a4_600.tif, a0_400.tif
#include <tiffio.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

class Row {
 public:
  explicit Row(uint32_t width) : width_(width), bytes_((width + 7) / 8) {}
  void Clear() { std::fill(bytes_.begin(), bytes_.end(), 0); }
  // Sets pixels [x0, x1), clipped to the row.
  void Span(int64_t x0, int64_t x1) {
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, width_);
    for (int64_t x = x0; x < x1;) {
      if (x % 8 == 0 && x + 8 <= x1) {
        const int64_t end = x1 / 8;
        std::fill(bytes_.begin() + x / 8, bytes_.begin() + end, 0xFF);
        x = end * 8;
      } else {
        bytes_[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        ++x;
      }
    }
  }
  uint8_t* Data() { return bytes_.data(); }

 private:
  int64_t width_;
  std::vector<uint8_t> bytes_;
};

struct Box {
  int64_t x0, y0, x1, y1;
};

class Drawing {
 public:
  Drawing(double widthMm, double heightMm, int dpi, uint32_t seed) : dpi_(dpi), rng_(seed) {
    width_ = Px(widthMm);
    length_ = Px(heightMm);
    Frame({Px(10), Px(10), width_ - Px(10), length_ - Px(10)}, Px(0.7));
    Frame({Px(15), Px(15), width_ - Px(15), length_ - Px(15)}, Px(0.35));
    for (int64_t x = Px(15); x < width_ - Px(15); x += Px(20))
      vertical_.push_back({x, Px(15), x + 1, length_ - Px(15)});
    for (int64_t y = Px(15); y < length_ - Px(15); y += Px(20))
      boxes_.push_back({Px(15), y, width_ - Px(15), y + 1});
    const double area = widthMm * heightMm / (841.0 * 1189.0);  // relative to A0
    const int hatches = std::max(2, static_cast<int>(10 * area));
    for (int i = 0; i < hatches; ++i) hatch_.push_back(RandomBox(60, 140, 40, 100));
    for (int i = 0; i < hatches * 2; ++i) {
      const Box b = RandomBox(30, 120, 30, 120);
      circles_.push_back({(b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2, std::min(b.x1 - b.x0, b.y1 - b.y0) / 2});
    }
    const int paragraphs = std::max(3, static_cast<int>(16 * area));
    for (int i = 0; i < paragraphs; ++i) Paragraph(RandomBox(80, 200, 20, 60));
    // Title block: ruled box with text rows.
    const Box title{width_ - Px(195), length_ - Px(75), width_ - Px(15), length_ - Px(15)};
    Frame(title, Px(0.5));
    for (int r = 1; r < 6; ++r)
      boxes_.push_back({title.x0, title.y0 + Px(10) * r, title.x1, title.y0 + Px(10) * r + Px(0.25)});
    Paragraph({title.x0 + Px(3), title.y0 + Px(3), title.x1 - Px(3), title.y1 - Px(3)});
  }

  uint32_t Width() const { return static_cast<uint32_t>(width_); }
  uint32_t Length() const { return static_cast<uint32_t>(length_); }

  void Paint(int64_t y, Row& row) const {
    row.Clear();
    for (const Box& b : boxes_) {
      if (y >= b.y0 && y < b.y1) row.Span(b.x0, b.x1);
    }
    for (const Box& b : vertical_) {
      if (y >= b.y0 && y < b.y1) row.Span(b.x0, b.x1);
    }
    const int64_t spacing = Px(2), thick = std::max<int64_t>(2, Px(0.25));
    for (const Box& b : hatch_) {
      if (y < b.y0 || y >= b.y1) continue;
      // 45-degree lines x - y = k * spacing.
      for (int64_t x = b.x0 + ((y - b.x0) % spacing + spacing) % spacing; x < b.x1; x += spacing) {
        row.Span(x, std::min(x + thick, b.x1));
      }
    }
    const int64_t ring = std::max<int64_t>(2, Px(0.35));
    for (const auto& c : circles_) {
      const int64_t dy = y - c[1];
      if (dy <= -c[2] || dy >= c[2]) continue;
      const auto outer = static_cast<int64_t>(std::sqrt(static_cast<double>(c[2] * c[2] - dy * dy)));
      const int64_t r2 = (c[2] - ring) * (c[2] - ring) - dy * dy;
      const auto inner = r2 > 0 ? static_cast<int64_t>(std::sqrt(static_cast<double>(r2))) : 0;
      row.Span(c[0] - outer, c[0] - inner + 1);
      row.Span(c[0] + inner, c[0] + outer + 1);
    }
    for (const auto& line : text_) {
      if (y < line.y || y >= line.y + line.cellH) continue;
      const int64_t gy = (y - line.y) * 9 / line.cellH;  // 7 glyph rows and 2 of leading
      if (gy >= 7) continue;
      for (size_t i = 0; i < line.glyphs.size(); ++i) {
        const uint64_t glyph = line.glyphs[i];
        if (!glyph) continue;  // space
        const int64_t x0 = line.x + static_cast<int64_t>(i) * line.cellW;
        for (int gx = 0; gx < 5; ++gx) {
          if (glyph >> (gy * 5 + gx) & 1) row.Span(x0 + gx * line.cellW / 6, x0 + (gx + 1) * line.cellW / 6);
        }
      }
    }
  }

 private:
  struct TextLine {
    int64_t x, y, cellW, cellH;
    std::vector<uint64_t> glyphs;
  };

  int64_t Px(double mm) const { return static_cast<int64_t>(mm * dpi_ / 25.4 + 0.5); }
  int64_t Random(int64_t n) { return static_cast<int64_t>(rng_() % static_cast<uint64_t>(n)); }

  Box RandomBox(double minW, double maxW, double minH, double maxH) {
    const int64_t w = Px(minW) + Random(Px(maxW - minW) + 1);
    const int64_t h = Px(minH) + Random(Px(maxH - minH) + 1);
    const int64_t x = Px(20) + Random(std::max<int64_t>(1, width_ - Px(40) - w));
    const int64_t y = Px(20) + Random(std::max<int64_t>(1, length_ - Px(40) - h));
    return {x, y, x + w, y + h};
  }

  void Frame(const Box& b, int64_t t) {
    t = std::max<int64_t>(t, 1);
    boxes_.push_back({b.x0, b.y0, b.x1, b.y0 + t});
    boxes_.push_back({b.x0, b.y1 - t, b.x1, b.y1});
    vertical_.push_back({b.x0, b.y0, b.x0 + t, b.y1});
    vertical_.push_back({b.x1 - t, b.y0, b.x1, b.y1});
  }

  void Paragraph(const Box& b) {
    const int64_t cellW = Px(1.8), cellH = Px(3.2);
    for (int64_t y = b.y0; y + cellH <= b.y1; y += cellH) {
      TextLine line{b.x0, y, cellW, cellH, {}};
      const int64_t chars = (b.x1 - b.x0) / cellW;
      while (static_cast<int64_t>(line.glyphs.size()) + 2 < chars) {
        const int64_t word = 2 + Random(8);
        for (int64_t i = 0; i < word && static_cast<int64_t>(line.glyphs.size()) < chars; ++i) {
          // About a third of a glyph's 5 x 7 cells are ink, like letters.
          const uint64_t a = rng_(), b = rng_(), c = rng_(), d = rng_();
          line.glyphs.push_back((((a | b << 32) & (c | d << 32)) & ((uint64_t{1} << 35) - 1)) | 1);
        }
        line.glyphs.push_back(0);
      }
      text_.push_back(std::move(line));
    }
  }

  int dpi_;
  std::mt19937 rng_;
  int64_t width_ = 0, length_ = 0;
  std::vector<Box> boxes_, vertical_, hatch_;
  std::vector<std::array<int64_t, 3>> circles_;
  std::vector<TextLine> text_;
};

bool WritePage(const std::string& path, double widthMm, double heightMm, int dpi) {
  const Drawing drawing(widthMm, heightMm, dpi, 20240601);
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  if (!tif) return false;
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, drawing.Width());
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, drawing.Length());
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, drawing.Length());
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, static_cast<double>(dpi));
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<double>(dpi));
  TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  Row row(drawing.Width());
  bool ok = true;
  for (uint32_t y = 0; ok && y < drawing.Length(); ++y) {
    drawing.Paint(y, row);
    ok = TIFFWriteScanline(tif, row.Data(), y, 0) == 1;
  }
  TIFFClose(tif);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: orvella-bench-make-pages FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  struct Page {
    const char* name;
    double w, h;
    int dpi;
  };
  for (const Page& p :
       {Page{"a0_600", 841, 1189, 600}, Page{"a4_600", 210, 297, 600}, Page{"a0_400", 841, 1189, 400}}) {
    const std::string path = folder + "/" + p.name + ".tif";
    if (!WritePage(path, p.w, p.h, p.dpi)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
