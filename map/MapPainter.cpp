#include "map/MapPainter.h"

#include <QPainter>

#include "map/MapLayout.h"

namespace tq {
namespace {

void DrawImageAt(QPainter& painter, int id, const PixelRect& at) {
  const QImage image = LoadMapImage(id);
  if (!image.isNull()) painter.drawImage(at.x, at.y, image);
}

}  // namespace

QImage LoadMapImage(int id) { return QImage(QStringLiteral(":/map/%1.bmp").arg(id)); }

void PaintMapArea(QPainter& painter, const std::string& foundState,
                  std::optional<SymbolPosition> symbol) {
  DrawImageAt(painter, AlaskaImageFor(foundState), kAlaskaInset);
  DrawImageAt(painter, HawaiiImageFor(foundState), kHawaiiInset);
  DrawImageAt(painter, MainMapImageFor(foundState), kMainMap);
  if (symbol) DrawSymbolSquare(painter, symbol->x, symbol->y);
  DrawSymbolSquare(painter, kLegendX, kLegendY);
}

void DrawSymbolSquare(QPainter& painter, int x, int y) {
  // Filled rectangles cover exactly their pixels, whatever the pen.
  painter.fillRect(x - kSymbolHalf, y - kSymbolHalf, 2 * kSymbolHalf, 2 * kSymbolHalf, Qt::black);
  painter.fillRect(x - kSymbolHalf + 1, y - kSymbolHalf + 1, 2 * kSymbolHalf - 2,
                   2 * kSymbolHalf - 2, Qt::white);
}

}  // namespace tq
