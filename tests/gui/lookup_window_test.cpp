// The lookup window driven as a user drives it: typing, Enter, the Search
// button, double-clicks on results, the city choice, the menu and Escape.

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "GuiTestSupport.h"
#include "app/AboutDlg.h"
#include "app/HelpWindow.h"
#include "lookup/CityPickDlg.h"
#include "lookup/LocalTime.h"
#include "lookup/LookupDlg.h"

using tq::CCityPickDlg;
using tq::CLookupDlg;
using namespace tq::test;

class LookupWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY((dialog = OpenSampleWindow())); }
  void cleanup() { dialog.reset(); }

  void opensWithZerosSelectedInTheField() {
    auto* edit = dialog->findChild<QLineEdit*>("editQuery");
    QCOMPARE(edit->text(), QString("000"));
    QCOMPARE(edit->selectedText(), QString("000"));
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(dialog->windowTitle(), QString("Telquest Pro"));
    QVERIFY(!QGuiApplication::overrideCursor());
  }

  void enterAtOnceReportsNoCities() {
    QTest::keyClick(dialog->findChild<QLineEdit*>("editQuery"), Qt::Key_Return);
    QCOMPARE(ListTexts(List(*dialog, "listLargestCity")), QStringList{"No cities found"});
    QVERIFY(dialog->isVisible());
  }

  void enterSearchesTheTypedPlace() {
    TypeAndEnter(*dialog, "Dayton, OH");
    QVERIFY(dialog->isVisible());
    QCOMPARE(ListTexts(List(*dialog, "listAreaCodes")), QStringList{"937"});
    QCOMPARE(ListTexts(List(*dialog, "listLargestCity")), QStringList{"Dayton"});
    QCOMPARE(ListTexts(List(*dialog, "listMajorCities")),
             (QStringList{"Bellbrook", "Dayton", "Kettering"}));
    QCOMPARE(ListTexts(List(*dialog, "listStateOrProvince")), QStringList{"Ohio (OH)"});
    QCOMPARE(List(*dialog, "listTimeZone")->count(), 1);
    QCOMPARE(LabelText(*dialog, "lblAreaCodes"), QString("Area code:"));
    QCOMPARE(LabelText(*dialog, "lblLargestCity"), QString("Largest city in area code:"));
    QCOMPARE(LabelText(*dialog, "lblMajorCities"), QString("Major cities (3) in area code:"));
    QCOMPARE(dialog->Flow().strFoundState, std::string("OH"));
  }

  void searchEndsWithTheFieldFocusedAndSelected() {
    TypeAndEnter(*dialog, "  937  ");
    auto* edit = dialog->findChild<QLineEdit*>("editQuery");
    QCOMPARE(edit->text(), QString("937"));
    QCOMPARE(edit->selectedText(), QString("937"));
    QCOMPARE(QApplication::focusWidget(), edit);
    QVERIFY(!QGuiApplication::overrideCursor());
  }

  void searchButtonSearches() {
    auto* edit = dialog->findChild<QLineEdit*>("editQuery");
    edit->setText("419");
    QTest::mouseClick(dialog->findChild<QPushButton*>("btnSearch"), Qt::LeftButton);
    QCOMPARE(ListTexts(List(*dialog, "listMajorCities")), (QStringList{"Findlay", "Sandusky"}));
    QCOMPARE(QApplication::focusWidget(), edit);
  }

  void enterOnAnyControlSearchesAndNeverCloses() {
    auto* edit = dialog->findChild<QLineEdit*>("editQuery");
    const QList<QWidget*> targets = {dialog->findChild<QPushButton*>("btnSearch"),
                                     dialog->findChild<QCheckBox*>("chkShowMaps"),
                                     List(*dialog, "listStateOrProvince")};
    for (QWidget* target : targets) {
      edit->setText("417");
      target->setFocus();
      QTest::keyClick(target, Qt::Key_Return);
      QVERIFY2(dialog->isVisible(), qPrintable(target->objectName()));
      QCOMPARE(ListTexts(List(*dialog, "listLargestCity")), QStringList{"Springfield"});
      List(*dialog, "listLargestCity")->clear();
    }
    QVERIFY(!dialog->findChild<QPushButton*>("btnSearch")->isDefault());
    QVERIFY(!dialog->findChild<QPushButton*>("btnSearch")->autoDefault());
  }

  void typedAccentReachesTheLookupAsCodePage1252() {
    TypeAndEnter(*dialog, QString::fromUtf8("Montréal"));
    QCOMPARE(dialog->Flow().listLargestCity.GetText(0), std::string("Montr\xE9" "al"));
    QCOMPARE(ListTexts(List(*dialog, "listLargestCity")), QStringList{QString::fromUtf8("Montréal")});
    QCOMPARE(QueryText(*dialog), QString::fromUtf8("Montréal, Québec"));
    QCOMPARE(ListTexts(List(*dialog, "listStateOrProvince")),
             QStringList{QString::fromUtf8("Québec (QC)")});
  }

  void doubleClickOnAnAreaCodeSearchesIt() {
    TypeAndEnter(*dialog, "San Antonio, TX");
    QCOMPARE(ListTexts(List(*dialog, "listAreaCodes")), (QStringList{"210", "726"}));
    QCOMPARE(LabelText(*dialog, "lblAreaCodes"), QString("Area codes:"));
    QCOMPARE(LabelText(*dialog, "lblMajorCities"), QString("Major cities (1) in area codes:"));
    DoubleClickEntry(List(*dialog, "listAreaCodes"), "726");
    QCOMPARE(QueryText(*dialog), QString("726"));
    QCOMPARE(ListTexts(List(*dialog, "listAreaCodes")), QStringList{"726"});
    QCOMPARE(LabelText(*dialog, "lblAreaCodes"), QString("Area code:"));
    QCOMPARE(QApplication::focusWidget(), dialog->findChild<QLineEdit*>("editQuery"));
  }

  void doubleClickOnAMajorCitySearchesItInItsState() {
    TypeAndEnter(*dialog, "937");
    DoubleClickEntry(List(*dialog, "listMajorCities"), "Kettering");
    QCOMPARE(QueryText(*dialog), QString("Kettering, Ohio "));
    QCOMPARE(ListTexts(List(*dialog, "listAreaCodes")), QStringList{"937"});
    QCOMPARE(dialog->Flow().strFoundState, std::string("OH"));
    auto* edit = dialog->findChild<QLineEdit*>("editQuery");
    QCOMPARE(edit->selectedText(), edit->text());
  }

  void doubleClickOnTheLargestCityAddsTheStateName() {
    TypeAndEnter(*dialog, "867");
    DoubleClickEntry(List(*dialog, "listLargestCity"), "Whitehorse");
    QCOMPARE(QueryText(*dialog), QString("Whitehorse, Yukon "));
    // An entry that carries its code is searched as it stands.
    QCOMPARE(ListTexts(List(*dialog, "listMajorCities")),
             (QStringList{"Whitehorse, YT", "Yellowknife, NT"}));
    DoubleClickEntry(List(*dialog, "listMajorCities"), "Yellowknife, NT");
    QCOMPARE(QueryText(*dialog), QString("Yellowknife, NT"));
    QCOMPARE(ListTexts(List(*dialog, "listAreaCodes")), QStringList{"867"});
  }

  void doubleClickOnTheEntryAlreadyTypedRunsNoSearch() {
    TypeAndEnter(*dialog, "937");
    List(*dialog, "listMajorCities")->clear();  // a search would fill it again
    DoubleClickEntry(List(*dialog, "listAreaCodes"), "937");
    QCOMPARE(List(*dialog, "listMajorCities")->count(), 0);
    QCOMPARE(QApplication::focusWidget(), dialog->findChild<QLineEdit*>("editQuery"));
  }

  void cityChoiceTakesThePreselectedEntry() {
    CCityPickDlg::setNextAnswer(QDialog::Accepted);
    TypeAndEnter(*dialog, "Springfield");
    QCOMPARE(QueryText(*dialog), QString("Springfield, Illinois"));
    QCOMPARE(ListTexts(List(*dialog, "listAreaCodes")), QStringList{"217"});
  }

  void cityChoiceTakesThePickedEntry() {
    CCityPickDlg::setNextAnswer(QDialog::Accepted, "Springfield, Missouri");
    TypeAndEnter(*dialog, "Springfield");
    QCOMPARE(QueryText(*dialog), QString("Springfield, Missouri"));
    QCOMPARE(ListTexts(List(*dialog, "listAreaCodes")), QStringList{"417"});
    QCOMPARE(dialog->Flow().strFoundState, std::string("MO"));
  }

  void cityChoiceForTheBeginningOfANameOnly() {
    CCityPickDlg::setNextAnswer(QDialog::Accepted);
    TypeAndEnter(*dialog, "Kett");
    QCOMPARE(QueryText(*dialog), QString("Kettering, Ohio"));
    QCOMPARE(ListTexts(List(*dialog, "listLargestCity")), QStringList{"Dayton"});
  }

  void cancelledCityChoiceLeavesTheListsEmpty() {
    TypeAndEnter(*dialog, "Dayton, OH");
    CCityPickDlg::setNextAnswer(QDialog::Rejected);
    TypeAndEnter(*dialog, "Springfield");
    QCOMPARE(QueryText(*dialog), QString("Springfield"));
    for (const char* list : {"listAreaCodes", "listLargestCity", "listMajorCities",
                             "listStateOrProvince", "listTimeZone"}) {
      QVERIFY2(List(*dialog, list)->count() == 0, list);
    }
    QCOMPARE(LabelText(*dialog, "lblAreaCodes"), QString("Area code:"));
    QCOMPARE(dialog->Flow().strFoundState, std::string("OH"));  // the map stays on Ohio
  }

  void statusLineShowsTimeAndExchangeUnderTheClientArea() {
    dialog->SetClock([] { return *tq::ParseUtcInstant("2026-07-05T22:42Z"); });
    TypeAndEnter(*dialog, "(937) 294-1234");
    auto* status = dialog->findChild<QLabel*>("lblStatus");
    QCOMPARE(status->text(), QString::fromUtf8("Dayton, OH · 6:42 PM Sunday · exchange 937-294: "
                                               "Kettering, OH"));
    const QList<QListWidgetItem*> selected = List(*dialog, "listMajorCities")->selectedItems();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.front()->text(), QString("Kettering"));
    for (bool maps : {true, false}) {
      if (dialog->GetShowMaps() != maps) dialog->OnShowMaps();
      QVERIFY(status->isVisible());
      const QRect client = dialog->findChild<QWidget*>("client")->geometry();
      QCOMPARE(status->geometry().top(), client.bottom() + 1);
      QCOMPARE(dialog->height(), status->geometry().bottom() + 1);
    }
  }

  void escapeOrFileExitCloseTheWindow() {
    QTest::keyClick(dialog->findChild<QLineEdit*>("editQuery"), Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    dialog->show();
    QVERIFY(dialog->isVisible());
    MenuAction("&File", "E&xit")->trigger();
    QVERIFY(!dialog->isVisible());
  }

  void aboutBoxOpensAndCloses() {
    QString title;
    int result = -1;
    QTimer::singleShot(0, this, [&] {
      auto* about = qobject_cast<tq::CAboutDlg*>(QApplication::activeModalWidget());
      if (!about) return;
      title = about->windowTitle();
      QTest::keyClick(about, Qt::Key_Return);  // OK is the default button
      result = about->result();
    });
    MenuAction("&Help", "&About...")->trigger();
    QCOMPARE(title, QString("About Telquest Pro"));
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(dialog->isVisible());
  }

  void helpContentsOpensHelpThatEscapeOrTheWindowCloses() {
    MenuAction("&Help", "&Contents...")->trigger();
    auto* help = dialog->findChild<tq::CHelpWindow*>();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QVERIFY(help->toPlainText().contains("Show maps"));
    QTest::keyClick(help, Qt::Key_Escape);
    QVERIFY(!help->isVisible());
    help->show();
    dialog->close();
    QVERIFY(!help->isVisible());
  }

 private:
  QAction* MenuAction(const QString& menuTitle, const QString& itemText) {
    for (QAction* menu : dialog->findChild<QMenuBar*>()->actions()) {
      if (menu->text() != menuTitle) continue;
      for (QAction* item : menu->menu()->actions()) {
        if (item->text() == itemText) return item;
      }
    }
    return nullptr;
  }

  std::unique_ptr<SampleWindow> dialog;
};

QTEST_MAIN(LookupWindowTest)
#include "lookup_window_test.moc"
