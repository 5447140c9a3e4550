// The map area as the window paints it, pixel by pixel: the images at their
// client positions, the largest-city symbol, the legend, and the narrow
// window without maps.

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "lookup/LookupDlg.h"
#include "map/CitySymbols.h"
#include "map/MapLayout.h"
#include "map/MapPainter.h"

using tq::CLookupDlg;
using namespace tq::test;

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);

// Pixels of `image` drawn at `at` in `painted` that differ, leaving out the
// square of a symbol at `symbol`.
int DifferingPixels(const QImage& painted, const QImage& image, const tq::PixelRect& at,
                    QPoint symbol = QPoint(-100, -100)) {
  const QImage expected = image.convertToFormat(QImage::Format_RGB32);
  const QRect square(symbol.x() - 4, symbol.y() - 4, 8, 8);
  int differing = 0;
  for (int y = 0; y < expected.height(); ++y) {
    for (int x = 0; x < expected.width(); ++x) {
      const QPoint client(at.x + x, at.y + y);
      if (!square.contains(client) && painted.pixel(client) != expected.pixel(x, y)) ++differing;
    }
  }
  return differing;
}

// The 8x8 symbol round (x, y): outline black, inside white.
void VerifySymbolAt(const QImage& painted, int x, int y) {
  for (int dy = -4; dy <= 3; ++dy) {
    for (int dx = -4; dx <= 3; ++dx) {
      const bool outline = dx == -4 || dx == 3 || dy == -4 || dy == 3;
      QVERIFY2(painted.pixel(x + dx, y + dy) == (outline ? kBlack : kWhite),
               qPrintable(QString("(%1, %2)").arg(x + dx).arg(y + dy)));
    }
  }
}

// The main map and both insets against the images expected there, leaving
// out the symbol square at `symbol`.
void VerifyMaps(const QImage& painted, int mainId, int alaskaId, int hawaiiId,
                QPoint symbol = QPoint(-100, -100)) {
  QCOMPARE(DifferingPixels(painted, tq::LoadMapImage(mainId), tq::kMainMap, symbol), 0);
  QCOMPARE(DifferingPixels(painted, tq::LoadMapImage(alaskaId), tq::kAlaskaInset, symbol), 0);
  QCOMPARE(DifferingPixels(painted, tq::LoadMapImage(hawaiiId), tq::kHawaiiInset, symbol), 0);
}

bool HasColour(const QImage& painted, const QRect& area, QRgb colour) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (painted.pixel(x, y) == colour) return true;
    }
  }
  return false;
}

}  // namespace

class MapPaintingTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    for (const int id : {136, 141, 142, 143, 144, 182}) {
      if (tq::LoadMapImage(id).isNull()) QSKIP("the map images are not in the resources");
    }
  }

  void init() { QVERIFY((dialog = OpenSampleWindow(std::vector<CityFixture>{
        {97, "Honolulu", "HI", "USA", 350964, 0, "-5", {808}}}))); }
  void cleanup() { dialog.reset(); }

  void symbolSquareCoversExactlySixtyFourPixels() {
    QImage canvas(40, 40, QImage::Format_RGB32);
    canvas.fill(Qt::gray);
    {
      QPainter painter(&canvas);
      tq::DrawSymbolSquare(painter, 20, 20);
    }
    int covered = 0;
    QRect bounds;
    for (int y = 0; y < canvas.height(); ++y) {
      for (int x = 0; x < canvas.width(); ++x) {
        if (canvas.pixel(x, y) == QColor(Qt::gray).rgb()) continue;
        ++covered;
        bounds |= QRect(x, y, 1, 1);
      }
    }
    QCOMPARE(covered, 64);
    QCOMPARE(bounds, QRect(16, 16, 8, 8));
    VerifySymbolAt(canvas, 20, 20);
  }

  void freshWindowShowsThePlainMapsAndTheLegendOnly() {
    const QImage painted = GrabClient(*dialog);
    VerifyMaps(painted, 136, 141, 142);
    VerifySymbolAt(painted, tq::kLegendX, tq::kLegendY);
    QVERIFY(!dialog->findChild<QLabel*>("lblMapHint")->isHidden());
  }

  void daytonShowsOhioInRedWithItsSymbol() {
    TypeAndEnter(*dialog, "Dayton, OH");
    int x = 0, y = 0;
    QCOMPARE(tq::FindCitySymbol("Dayton", "Ohio (OH)", x, y), 1);
    QCOMPARE(QPoint(x, y), QPoint(630, 124));
    const QImage painted = GrabClient(*dialog);
    VerifyMaps(painted, 182, 141, 142, QPoint(x, y));
    QVERIFY(HasColour(painted, QRect(324, 16, 423, 263), kRed));
    VerifySymbolAt(painted, x, y);
    VerifySymbolAt(painted, tq::kLegendX, tq::kLegendY);
  }

  void alaskaTurnsItsInsetRed() {
    TypeAndEnter(*dialog, "Nome, AK");
    QCOMPARE(dialog->Flow().strFoundState, std::string("AK"));
    const QImage painted = GrabClient(*dialog);
    VerifyMaps(painted, 136, 144, 142);
    QVERIFY(HasColour(painted, QRect(263, 16, 53, 53), kRed));
  }

  void hawaiiTurnsItsInsetRed() {
    TypeAndEnter(*dialog, "Honolulu, HI");
    const QImage painted = GrabClient(*dialog);
    VerifyMaps(painted, 136, 141, 143, QPoint(284, 87));
    VerifySymbolAt(painted, 284, 87);
  }

  void placeWithoutAMapImageShowsThePlainMap() {
    TypeAndEnter(*dialog, "Nassau, Bahamas");
    QCOMPARE(dialog->Flow().strFoundState, std::string("Bahamas"));
    const QImage painted = GrabClient(*dialog);
    VerifyMaps(painted, 136, 141, 142, QPoint(715, 253));
    VerifySymbolAt(painted, 715, 253);
  }

  void largestCityOutsideTheSymbolTableGetsNoSymbol() {
    TypeAndEnter(*dialog, "800");
    QCOMPARE(dialog->Flow().strFoundState, std::string("Non-geographic area code"));
    VerifyMaps(GrabClient(*dialog), 136, 141, 142);
  }

  void notFoundKeepsNoStateInRed() {
    TypeAndEnter(*dialog, "Dayton, OH");
    TypeAndEnter(*dialog, "Atlantis, OH");
    QCOMPARE(dialog->Flow().strFoundState, std::string());
    VerifyMaps(GrabClient(*dialog), 136, 141, 142);
  }

  void mapsOffGiveTheNarrowWindowWithNothingOfTheMap() {
    TypeAndEnter(*dialog, "Nome, AK");
    QTest::mouseClick(dialog->findChild<QCheckBox*>("chkShowMaps"), Qt::LeftButton);
    QCOMPARE(dialog->GetShowMaps(), 0);
    const QImage painted = GrabClient(*dialog);
    QCOMPARE(painted.width(), tq::kClientWidthMapsHidden);
    QVERIFY(dialog->findChild<QLabel*>("lblMapHint")->isHidden());
    QVERIFY(dialog->findChild<QWidget*>("grpTimeZone")->isHidden());
    const QRect insets(263, 16, 327 - 263, 100);
    for (const QRgb colour : {kRed, qRgb(255, 255, 0), qRgb(0, 0, 255)}) {
      QVERIFY(!HasColour(painted, insets, colour));
    }
    QCOMPARE(dialog->findChild<QWidget*>("grpSearch")->geometry(), QRect(11, 11, 305, 102));
    QCOMPARE(dialog->findChild<QWidget*>("editQuery")->geometry(), QRect(20, 50, 286, 20));
    QCOMPARE(dialog->findChild<QWidget*>("btnSearch")->geometry(), QRect(231, 76, 75, 23));
    QCOMPARE(QApplication::focusWidget(), dialog->findChild<QWidget*>("editQuery"));

    QTest::mouseClick(dialog->findChild<QCheckBox*>("chkShowMaps"), Qt::LeftButton);
    QCOMPARE(dialog->GetShowMaps(), 1);
    const QImage wide = GrabClient(*dialog);
    QCOMPARE(wide.width(), tq::kClientWidthMapsShown);
    QCOMPARE(DifferingPixels(wide, tq::LoadMapImage(144), tq::kAlaskaInset), 0);
    QVERIFY(!dialog->findChild<QLabel*>("lblMapHint")->isHidden());
    QCOMPARE(dialog->findChild<QWidget*>("grpSearch")->geometry(), QRect(11, 11, 243, 102));
  }

 private:
  std::unique_ptr<SampleWindow> dialog;
};

QTEST_MAIN(MapPaintingTest)
#include "map_painting_test.moc"
