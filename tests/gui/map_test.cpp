// The map area of the window. As painted, pixel by pixel: the images that the
// core chooses drawn at their client positions, the largest-city symbol, the
// legend, and the narrow window without maps. As clicked: a click near the
// centre of a state or province, or on an inset, puts its query in the field
// and searches it; labels and group boxes let the click through, controls
// keep it.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "lookup/LookupDlg.h"
#include "map/CitySymbols.h"
#include "map/HitTest.h"
#include "map/MapLayout.h"
#include "map/MapPainter.h"

using namespace tq::test;

namespace {

const QPoint kNoSymbol(-100, -100);
// Where the window shows the map, in client pixels: the main map and the
// Alaska and Hawaii insets (each image's top left corner and size), and the
// centre of the legend's symbol.
constexpr tq::PixelRect kMainMapAt{324, 16, 423, 263};
constexpr tq::PixelRect kAlaskaAt{263, 16, 53, 53};
constexpr tq::PixelRect kHawaiiAt{263, 76, 53, 40};
const QPoint kLegendAt(730, 295);

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

const QRgb kRed = qRgb(255, 0, 0);

// The box round the red pixels of `image`; empty when it has none.
QRect RedBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == kRed) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

// The map area painted on a device of `ratio` device pixels per client pixel.
QImage PaintAtRatio(tq::CLookupDlg& dialog, qreal ratio) {
  QImage painted(QSize(tq::kClientWidthMapsShown, 374) * ratio, QImage::Format_RGB32);
  painted.setDevicePixelRatio(ratio);
  painted.fill(Qt::darkGreen);
  QPainter painter(&painted);
  dialog.OnPaint(painter);
  return painted;
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
    QCOMPARE(DifferingPixels(painted, tq::LoadMapImage(tq::MainMapImageFor(state)), kMainMapAt,
                             symbol), 0);
    QCOMPARE(DifferingPixels(painted, tq::LoadMapImage(tq::AlaskaImageFor(state)), kAlaskaAt,
                             symbol), 0);
    QCOMPARE(DifferingPixels(painted, tq::LoadMapImage(tq::HawaiiImageFor(state)), kHawaiiAt,
                             symbol), 0);
    if (symbol != kNoSymbol) VerifySymbolAt(painted, symbol);
    VerifySymbolAt(painted, kLegendAt);
  }

  // On a screen of 2 or 3 device pixels per client pixel the artwork of that
  // scale fills the same client rectangles, pixel for pixel, and the symbol
  // keeps its client square; at 1.5 the 2x artwork is shrunk into place.
  void paintsTheArtworkOfTheScreensScale_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<int>("scale");
    QTest::newRow("2x") << 2.0 << 2;
    QTest::newRow("3x") << 3.0 << 3;
    QTest::newRow("1.5x") << 1.5 << 2;
  }

  void paintsTheArtworkOfTheScreensScale() {
    QFETCH(qreal, ratio);
    QFETCH(int, scale);
    TypeAndEnter(*dialog, "Dayton, OH");
    const QImage painted = PaintAtRatio(*dialog, ratio);
    const QImage art = tq::LoadMapImage(tq::MainMapImageFor("OH"), scale);
    QCOMPARE(art.size(), QSize(tq::kMainMap.width, tq::kMainMap.height) * scale);
    const QRect symbol(QPoint(626, 120) * ratio, QSize(8, 8) * ratio);
    const QPoint origin = QPoint(tq::kMainMap.x, tq::kMainMap.y) * ratio;
    int differing = 0;
    for (int i = 0; ratio == scale && i < art.width() * art.height(); ++i) {
      const QPoint at(i % art.width(), i / art.width());
      differing += !symbol.contains(origin + at) && painted.pixel(origin + at) != art.pixel(at);
    }
    QCOMPARE(differing, 0);
    const QRect red = RedBox(painted.copy(QRect(origin, art.size() * ratio / scale)));
    QVERIFY(qAbs(red.left() - 299 * ratio) <= ratio && qAbs(red.right() - 331 * ratio) <= ratio);
    QCOMPARE(painted.pixel(symbol.topLeft()), qRgb(0, 0, 0));
    QCOMPARE(painted.pixel(symbol.center()), qRgb(255, 255, 255));
  }

  // The artwork of every scale against the tables: every device pixel of a
  // click point on its state's red, every symbol in the box round its
  // state's red (the Bahamas row lies on the sea).
  void clickPointsAndSymbolsLieOnTheirStatesAtEveryScale() {
    for (const int scale : tq::kArtworkScales) {
      for (const tq::MapClickPoint& point : tq::MakeClickPoints()) {
        const QImage art = tq::LoadMapImage(tq::MainMapImageFor(point.abbreviation), scale);
        const QPoint at = (QPoint(point.x, point.y) - QPoint(tq::kMainMap.x, tq::kMainMap.y)) * scale;
        for (int i = 0; point.x > 0 && i < scale * scale; ++i) {
          QVERIFY2(art.pixel(at + QPoint(i % scale, i / scale)) == kRed, point.abbreviation.c_str());
        }
      }
      for (const tq::CitySymbolPosition& row : tq::CitySymbolTable()) {
        const std::string form(row.stateDisplayForm);
        const std::string code = form.ends_with(')') ? form.substr(form.size() - 3, 2) : "";
        auto [at, id] = std::pair{tq::kMainMap, tq::MainMapImageFor(code)};
        for (const auto& [inset, image] : {std::pair{tq::kAlaskaInset, tq::AlaskaImageFor(code)},
                                           std::pair{tq::kHawaiiInset, tq::HawaiiImageFor(code)}}) {
          if (QRect(inset.x, inset.y, inset.width, inset.height).contains(row.x, row.y)) at = inset, id = image;
        }
        const QRect red = RedBox(tq::LoadMapImage(id, scale));
        QVERIFY2(red.isEmpty() || red.contains((QPoint(row.x, row.y) - QPoint(at.x, at.y)) * scale),
                 row.city.data());
      }
    }
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
    QCOMPARE(DifferingPixels(wide, tq::LoadMapImage(tq::kAlaskaRedImage), kAlaskaAt, kNoSymbol), 0);
    QCOMPARE(dialog->findChild<QWidget*>("grpSearch")->geometry(), QRect(11, 11, 243, 102));
  }

  void clickSearchesThePlaceThere_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("query");  // "": no search
    QTest::newRow("Washington") << QPoint(376, 44) << ", WA";
    QTest::newRow("Ohio") << QPoint(639, 116) << ", OH";
    QTest::newRow("Alaska inset") << QPoint(264, 17) << ", AK";
    QTest::newRow("Hawaii inset") << QPoint(290, 114) << ", HI";
    QTest::newRow("gap left of the map") << QPoint(320, 100) << "";
    QTest::newRow("gap between the insets") << QPoint(290, 70) << "";
    QTest::newRow("right of the map") << QPoint(745, 100) << "";
  }

  void clickSearchesThePlaceThere() {
    QFETCH(QPoint, at);
    QFETCH(QString, query);
    ClickWindowAt(*dialog, at);
    QCOMPARE(QueryText(*dialog), query);
    QCOMPARE(List(*dialog, "listLargestCity")->count(), query.isEmpty() ? 0 : 1);
    if (query.isEmpty()) return;
    QCOMPARE(dialog->Flow().Query(), query.toStdString());
    QCOMPARE(dialog->findChild<QLineEdit*>("editQuery")->selectedText(), query);
  }

  void clickOnAControlIsTheControls() {
    auto* check = dialog->findChild<QCheckBox*>("chkShowMaps");
    ClickWindowAt(*dialog, check->geometry().center());
    QVERIFY(!check->isChecked());
    QCOMPARE(QueryText(*dialog), QString());
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
    QCOMPARE(QueryText(*dialog), QString());
  }

 private:
  std::unique_ptr<SampleWindow> dialog;
};

QTEST_MAIN(MapTest)
#include "map_test.moc"
