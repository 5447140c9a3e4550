// The map area of the window. As painted, pixel by pixel: the images that the
// core chooses drawn at their client positions, the largest-city symbol, the
// legend, and the narrow window without maps. As clicked: a click near the
// centre of a state or province, or on an inset, puts its query in the field
// and searches it; labels and group boxes let the click through, controls
// keep it.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "lookup/LookupDlg.h"
#include "map/MapLayout.h"
#include "map/MapPainter.h"

using namespace tq::test;

namespace {

const QPoint kNoSymbol(-100, -100);

// Pixels of `image` drawn at `at` in `painted` that differ, leaving out the
// square of a symbol at `symbol`.
int DifferingPixels(const QImage& painted, const QImage& image, const tq::PixelRect& at,
                    QPoint symbol) {
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
void VerifySymbolAt(const QImage& painted, QPoint at) {
  for (int dy = -4; dy <= 3; ++dy) {
    for (int dx = -4; dx <= 3; ++dx) {
      const bool outline = dx == -4 || dx == 3 || dy == -4 || dy == 3;
      QVERIFY2(painted.pixel(at.x() + dx, at.y() + dy) == (outline ? qRgb(0, 0, 0) : qRgb(255, 255, 255)),
               qPrintable(QString("(%1, %2)").arg(at.x() + dx).arg(at.y() + dy)));
    }
  }
}

}  // namespace

class MapTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (tq::LoadMapImage(tq::kPlainMapImage).isNull()) QSKIP("no map images in the resources");
  }

  void init() { QVERIFY((dialog = OpenSampleWindow(std::vector<CityFixture>{
        {97, "Honolulu", "HI", "USA", 350964, 0, "-5", {808}}}))); }
  void cleanup() { dialog.reset(); }

  void paintsTheChosenImagesAndTheSymbol_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QPoint>("symbol");
    QTest::newRow("fresh window") << QString() << kNoSymbol;
    QTest::newRow("Ohio in red") << "Dayton, OH" << QPoint(630, 124);
    QTest::newRow("Alaska inset") << "Nome, AK" << kNoSymbol;
    QTest::newRow("Hawaii inset") << "Honolulu, HI" << QPoint(284, 87);
    QTest::newRow("no state image") << "Nassau, Bahamas" << QPoint(715, 253);
    QTest::newRow("no symbol") << "800" << kNoSymbol;
  }

  void paintsTheChosenImagesAndTheSymbol() {
    QFETCH(QString, typed);
    QFETCH(QPoint, symbol);
    if (!typed.isEmpty()) TypeAndEnter(*dialog, typed);
    const std::string& state = dialog->Flow().GetAnswer().foundState;
    const QImage painted = GrabClient(*dialog);
    QCOMPARE(DifferingPixels(painted, tq::LoadMapImage(tq::MainMapImageFor(state)), tq::kMainMap,
                             symbol), 0);
    QCOMPARE(DifferingPixels(painted, tq::LoadMapImage(tq::AlaskaImageFor(state)),
                             tq::kAlaskaInset, symbol), 0);
    QCOMPARE(DifferingPixels(painted, tq::LoadMapImage(tq::HawaiiImageFor(state)),
                             tq::kHawaiiInset, symbol), 0);
    if (symbol != kNoSymbol) VerifySymbolAt(painted, symbol);
    VerifySymbolAt(painted, QPoint(tq::kLegendX, tq::kLegendY));
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
    for (int y = insets.top(); y <= insets.bottom(); ++y) {
      for (int x = insets.left(); x <= insets.right(); ++x) {
        const QRgb colour = painted.pixel(x, y);  // none of the map's red, yellow, blue
        QVERIFY(colour != qRgb(255, 0, 0) && colour != qRgb(255, 255, 0) && colour != qRgb(0, 0, 255));
      }
    }
    QCOMPARE(dialog->findChild<QWidget*>("btnSearch")->geometry(), QRect(231, 76, 75, 23));
    QCOMPARE(QApplication::focusWidget(), dialog->findChild<QWidget*>("editQuery"));

    QTest::mouseClick(dialog->findChild<QCheckBox*>("chkShowMaps"), Qt::LeftButton);
    const QImage wide = GrabClient(*dialog);
    QCOMPARE(wide.width(), tq::kClientWidthMapsShown);
    QCOMPARE(DifferingPixels(wide, tq::LoadMapImage(tq::kAlaskaRedImage), tq::kAlaskaInset,
                             kNoSymbol), 0);
    QCOMPARE(dialog->findChild<QWidget*>("grpSearch")->geometry(), QRect(11, 11, 243, 102));
  }

  void clickSearchesThePlaceThere_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("query");  // "000": no search
    QTest::newRow("Washington") << QPoint(376, 44) << ", WA";
    QTest::newRow("Ohio") << QPoint(639, 116) << ", OH";
    QTest::newRow("Alaska inset") << QPoint(264, 17) << ", AK";
    QTest::newRow("Hawaii inset") << QPoint(290, 114) << ", HI";
    QTest::newRow("gap left of the map") << QPoint(320, 100) << "000";
    QTest::newRow("gap between the insets") << QPoint(290, 70) << "000";
    QTest::newRow("right of the map") << QPoint(745, 100) << "000";
  }

  void clickSearchesThePlaceThere() {
    QFETCH(QPoint, at);
    QFETCH(QString, query);
    ClickWindowAt(*dialog, at);
    QCOMPARE(QueryText(*dialog), query);
    QCOMPARE(dialog->Flow().Query(), query.toStdString());
    QCOMPARE(List(*dialog, "listLargestCity")->count(), query == "000" ? 0 : 1);
    auto* edit = dialog->findChild<QLineEdit*>("editQuery");
    if (query != "000") QCOMPARE(edit->selectedText(), query);
  }

  void clickOnAControlIsTheControls() {
    auto* check = dialog->findChild<QCheckBox*>("chkShowMaps");
    ClickWindowAt(*dialog, check->geometry().center());
    QVERIFY(!check->isChecked());
    QCOMPARE(QueryText(*dialog), QString("000"));
  }

  void clickWithTheMapsHiddenStillSearchesAlaska() {
    QTest::mouseClick(dialog->findChild<QCheckBox*>("chkShowMaps"), Qt::LeftButton);
    QCOMPARE(dialog->GetShowMaps(), 0);
    // Inside the widened "Search" group box, which lets the click through.
    QVERIFY(dialog->findChild<QWidget*>("grpSearch")->geometry().contains(290, 30));
    ClickWindowAt(*dialog, QPoint(290, 30));
    QCOMPARE(QueryText(*dialog), QString(", AK"));
  }

  void rightClickDoesNothing() {
    const QWidget* client = dialog->findChild<QWidget*>("client");
    QTest::mouseClick(dialog->windowHandle(), Qt::RightButton, Qt::NoModifier,
                      client->mapTo(dialog.get(), QPoint(376, 44)));
    QCOMPARE(QueryText(*dialog), QString("000"));
  }

 private:
  std::unique_ptr<SampleWindow> dialog;
};

QTEST_MAIN(MapTest)
#include "map_test.moc"
