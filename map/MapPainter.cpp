#include "map/MapPainter.h"

#include <QPaintDevice>
#include <QPainter>

#include "map/MapLayout.h"

namespace tq {
namespace {

void DrawImageAt(QPainter& painter, int id, const PixelRect& at) {
  // Device pixels per map pixel: the screen's, times the painter's scale.
  const qreal ratio = (painter.device() ? painter.device()->devicePixelRatioF() : 1.0) *
                      painter.worldTransform().m11();
  QImage image = LoadMapImage(id, ArtworkScaleFor(ratio));
  if (image.isNull()) image = LoadMapImage(id);
  if (image.isNull()) return;
  // Shrinking the next larger scale (a ratio of 1.5) wants smoothing.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, image.devicePixelRatio() != ratio);
  painter.drawImage(QRectF(at.x, at.y, at.width, at.height), image);
}

}  // namespace

QImage LoadMapImage(int id, int scale) {
  if (scale <= 1) return QImage(QStringLiteral(":/map/%1.bmp").arg(id));
  QImage image(QStringLiteral(":/map/%1@%2x.png").arg(id).arg(scale));
  image.setDevicePixelRatio(scale);
  return image;
}

void PaintMapArea(QPainter& painter, const std::string& foundState,
                  std::optional<SymbolPosition> symbol) {
  DrawImageAt(painter, AlaskaImageFor(foundState), kAlaskaInset);
  DrawImageAt(painter, HawaiiImageFor(foundState), kHawaiiInset);
  DrawImageAt(painter, MainMapImageFor(foundState), kMainMap);
  if (symbol) DrawSymbolSquare(painter, symbol->x, symbol->y);
}

void DrawSymbolSquare(QPainter& painter, int x, int y) {
  // Filled rectangles cover exactly their pixels, whatever the pen.
  painter.fillRect(x - kSymbolHalf, y - kSymbolHalf, 2 * kSymbolHalf, 2 * kSymbolHalf, Qt::black);
  painter.fillRect(x - kSymbolHalf + 1, y - kSymbolHalf + 1, 2 * kSymbolHalf - 2,
                   2 * kSymbolHalf - 2, Qt::white);
}

}  // namespace tq
