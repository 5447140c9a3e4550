#include "lookup/DialogFont.h"

#include <QFontDatabase>
#include <QStringList>

#include "lookup/DialogUnits.h"

namespace tq {

QFont DialogFont() {
  static const QString family = [] {
    const int id = QFontDatabase::addApplicationFont(":/fonts/LiberationSans-Regular.ttf");
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QStringLiteral("Liberation Sans") : families.first();
  }();
  QFont font(family);
  font.setPixelSize(kDialogFontPixelSize);
  // Hinting only along y keeps the font's own advances, so a text is as
  // wide on every screen as the layout expects.
  font.setHintingPreference(QFont::PreferVerticalHinting);
  return font;
}

void SetUpSmallDialog(QDialog& dialog, const QString& title, int widthUnits, int heightUnits) {
  dialog.setWindowTitle(title);
  dialog.setFont(DialogFont());
  dialog.setFixedSize(DialogUnitsToPixelsX(widthUnits), DialogUnitsToPixelsY(heightUnits));
}

}  // namespace tq
