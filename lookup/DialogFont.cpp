#include "lookup/DialogFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "lookup/DialogUnits.h"

namespace tq {
namespace {

double windowScale = 0;  // 0: not chosen yet, the user's font decides

}  // namespace

double UserFontScale() {
  const int pixels = QFontInfo(QApplication::font()).pixelSize();
  return std::max(kDialogFontPixelSize, pixels) / static_cast<double>(kDialogFontPixelSize);
}

double WindowScale() {
  if (windowScale <= 0) windowScale = UserFontScale();
  return windowScale;
}

void SetWindowScale(double scale) {
  // In tenths, so that the text's pixel size is whole and never outgrows
  // its control.
  windowScale = std::max(1.0, std::floor(scale * 10 + 1e-9) / 10);
}

int Scaled(int pixels) { return static_cast<int>(std::lround(pixels * WindowScale())); }

QRect Scaled(const QRect& rect) {
  return QRect(Scaled(rect.x()), Scaled(rect.y()), Scaled(rect.width()), Scaled(rect.height()));
}

QRect DialogRect(int x, int y, int width, int height) {
  return Scaled(QRect(DialogUnitsToPixelsX(x), DialogUnitsToPixelsY(y), DialogUnitsToPixelsX(width),
                      DialogUnitsToPixelsY(height)));
}

QFont DialogFont() {
  static const QString family = [] {
    const int id = QFontDatabase::addApplicationFont(":/fonts/LiberationSans-Regular.ttf");
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QStringLiteral("Liberation Sans") : families.first();
  }();
  QFont font(family);
  font.setPixelSize(Scaled(kDialogFontPixelSize));
  // Hinting only along y keeps the font's own advances, so a text is as
  // wide on every screen as the layout expects.
  font.setHintingPreference(QFont::PreferVerticalHinting);
  return font;
}

void SetUpSmallDialog(QDialog& dialog, const QString& title, int widthUnits, int heightUnits) {
  dialog.setWindowTitle(title);
  dialog.setFont(DialogFont());
  dialog.setFixedSize(DialogRect(0, 0, widthUnits, heightUnits).size());
}

}  // namespace tq
