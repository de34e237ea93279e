#pragma once
#include <QFont>
#include <QImage>
#include <QPainter>

#include "media/canvas.h"

namespace pelmoravan {

// The face the canvas draws with: it carries the Chinese glyphs of the interface texts.
inline constexpr const char* kCanvasFontFamily = "WenQuanYi Micro Hei";

// The off-screen surface and its canvas on one QImage. A single painter serves the canvas and
// the image copies; it is opened on first use and closed by Release().
class TQtSurface final : public ISurface, public ICanvas {
public:
    explicit TQtSurface(QSize size = QSize(1, 1));
    ~TQtSurface() override;
    TQtSurface(const TQtSurface&) = delete;
    TQtSurface& operator=(const TQtSurface&) = delete;

    // A new, black image of the size; brush, pen and font stay as they were.
    void Resize(QSize size);
    const QImage& Image() const { return FImage; }
    bool Exists() const { return !FImage.isNull(); }

    // ISurface
    std::int32_t Width() const override { return FImage.width(); }
    std::int32_t Height() const override { return FImage.height(); }
    void Fill(std::uint32_t value) override;
    ICanvas& Canvas() override { return *this; }
    void Draw(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
              std::int32_t pattern) override;
    void StretchDraw(const TPictureCollectionItem& item, const TRect& dest,
                     std::int32_t pattern) override;
    void WaveDraw(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                  std::int32_t w, std::int32_t h, std::int32_t pattern, std::int32_t amplitude,
                  std::int32_t wavelength, std::int32_t phase) override;

    // ICanvas
    void SetBrushColor(TColor color) override;
    void SetBrushStyle(TBrushStyle style) override;
    void SetPenColor(TColor color) override;
    void SetPenWidth(std::int32_t width) override;
    void SetFontColor(TColor color) override;
    void SetFontSize(std::int32_t points) override;
    void FillRect(const TRect& rect) override;
    void TextOut(std::int32_t x, std::int32_t y, const std::string& text) override;
    std::int32_t TextWidth(const std::string& text) override;
    std::int32_t TextHeight(const std::string& text) override;
    void Polyline(const std::vector<TPoint>& points) override;
    void Release() override;

    bool Painting() const { return FPainter.isActive(); }

private:
    QPainter& Painter();

    QImage FImage;
    QPainter FPainter;
    QColor FBrushColor = Qt::white;
    TBrushStyle FBrushStyle = TBrushStyle::bsSolid;
    QColor FPenColor = Qt::black;
    std::int32_t FPenWidth = 1;
    QColor FFontColor = Qt::black;
    QFont FFont;
};

} // namespace pelmoravan
