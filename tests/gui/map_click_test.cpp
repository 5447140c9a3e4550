// Clicks on the window: a click near the centre of a state or province, or
// on an inset, searches all of its area codes; labels and group boxes let
// the click through, controls keep it.

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "lookup/LookupDlg.h"

using tq::CLookupDlg;
using namespace tq::test;

class MapClickTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY((dialog = OpenSampleWindow())); }
  void cleanup() { dialog.reset(); }

  void clickOnWashingtonSearchesIt() {
    ClickWindowAt(*dialog, QPoint(376, 44));
    QCOMPARE(QueryText(*dialog), QString(", WA"));
    // The sample data has no city in Washington: the search ran and found none.
    QCOMPARE(ListTexts(List(*dialog, "listLargestCity")),
             QStringList{"City not found in database"});
    auto* edit = dialog->findChild<QLineEdit*>("editQuery");
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(edit->selectedText(), QString(", WA"));
  }

  void clickOnOhioListsItsAreaCodes() {
    ClickWindowAt(*dialog, QPoint(639, 116));
    QCOMPARE(QueryText(*dialog), QString(", OH"));
    QCOMPARE(ListTexts(List(*dialog, "listAreaCodes")), (QStringList{"419", "937"}));
    QCOMPARE(dialog->Flow().strFoundState, std::string("OH"));
  }

  void clickOnTheAlaskaInsetSearchesAlaska() {
    ClickWindowAt(*dialog, QPoint(264, 17));
    QCOMPARE(QueryText(*dialog), QString(", AK"));
  }

  void clickOnTheHawaiiInsetSearchesHawaii() {
    ClickWindowAt(*dialog, QPoint(290, 114));
    QCOMPARE(QueryText(*dialog), QString(", HI"));
  }

  void clickInTheGapDoesNothing() {
    for (const QPoint at : {QPoint(320, 100), QPoint(290, 70), QPoint(745, 100)}) {
      ClickWindowAt(*dialog, at);
      QCOMPARE(QueryText(*dialog), QString("000"));
      QCOMPARE(List(*dialog, "listLargestCity")->count(), 0);
    }
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
