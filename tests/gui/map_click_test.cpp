// Clicks on the window: a click near the centre of a state or province, or
// on an inset, puts its query in the field and searches it; labels and group
// boxes let the click through, controls keep it.

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "lookup/LookupDlg.h"

using namespace tq::test;

class MapClickTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY((dialog = OpenSampleWindow())); }
  void cleanup() { dialog.reset(); }

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
    QCOMPARE(dialog->Flow().editQuery, query.toStdString());
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

QTEST_MAIN(MapClickTest)
#include "map_click_test.moc"
