// The lookup window driven as a user drives it: typing, Enter, the Search
// button, double-clicks on results, the city choice, the menu and Escape.
// What a search finds is the core's; here only that the window shows it.

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QInputDialog>
#include <QMessageBox>
#include <QCheckBox>
#include <QCompleter>
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
#include "lookup/AnswerText.h"
#include "lookup/CityPickDlg.h"
#include "lookup/LookupDlg.h"
#include "lookup/QtText.h"
#include "time/LocalTime.h"

using tq::CCityPickDlg;
using namespace tq::test;

class LookupWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY((dialog = OpenSampleWindow())); }
  void cleanup() { dialog.reset(); }

  void opensWithZerosSelectedInTheField() {
    QCOMPARE(Edit()->text(), QString("000"));
    VerifyFieldFocusedAndSelected();
    QCOMPARE(dialog->windowTitle(), QString("Telquest Pro"));
  }

  // Suggestions while typing, the most populous first: a suggestion taken by
  // the keys or by a click is searched; Escape closes the list only.
  void suggestionsAsYouTypeAreSearchedWhenTaken() {
    Edit()->selectAll();
    for (const char* typed : {"s", "p", "r"}) QTest::keyClicks(KeyTarget(), typed);
    QAbstractItemView* list = Suggestions();
    QVERIFY(list->isVisible());
    QStringList shown;
    for (int row = 0; row < list->model()->rowCount(); ++row) shown << list->model()->index(row, 0).data().toString();
    QCOMPARE(shown, (QStringList{"Springfield, MO", "Springfield, MA", "Springfield, IL"}));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(!list->isVisible());
    QCOMPARE(QueryText(*dialog), QString("Springfield, MA"));
    QCOMPARE(ListTexts(List(*dialog, "listStateOrProvince")), QStringList{"Massachusetts (MA)"});

    Edit()->selectAll();
    QTest::keyClicks(KeyTarget(), "montr");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualRect(list->model()->index(0, 0)).center());
    QCOMPARE(ListTexts(List(*dialog, "listStateOrProvince")), QStringList{QString::fromUtf8("Québec (QC)")});

    Edit()->selectAll();
    QTest::keyClicks(KeyTarget(), "day");
    QVERIFY(list->isVisible());
    QTest::keyClick(KeyTarget(), Qt::Key_Escape);
    QVERIFY(!list->isVisible());
    QVERIFY(dialog->isVisible());
    QCOMPARE(QueryText(*dialog), QString("day"));

    // Enter with the list open but nothing chosen searches the text as typed.
    TypeAndEnter(*dialog, "san antonio");
    QCOMPARE(QueryText(*dialog), QString("San Antonio, Texas"));
  }

  void showsWhatTheSearchFound() {
    TypeAndEnter(*dialog, "  San Antonio, TX ");
    const tq::Answer& answer = dialog->Flow().GetAnswer();
    QCOMPARE(QueryText(*dialog), QString::fromStdString(answer.query));
    const std::pair<const char*, const std::vector<std::string>*> lists[] = {
        {"listAreaCodes", &answer.areaCodes.entries},
        {"listLargestCity", &answer.largestCity.entries},
        {"listMajorCities", &answer.majorCities.entries},
        {"listStateOrProvince", &answer.stateOrProvince}, {"listTimeZone", &answer.times.zoneLine}};
    for (const auto& [name, list] : lists) {
      QStringList entries;
      for (const std::string& entry : *list) entries << QString::fromStdString(entry);
      QCOMPARE(ListTexts(List(*dialog, name)), entries);
    }
    QCOMPARE(List(*dialog, "listAreaCodes")->count(), 2);
    for (const auto& [name, text] : {std::pair{"lblAreaCodes", &answer.areaCodes.heading},
                                     {"lblLargestCity", &answer.largestCity.heading},
                                     {"lblMajorCities", &answer.majorCities.heading}}) {
      QCOMPARE(LabelText(*dialog, name), QString::fromStdString(*text));
    }
    VerifyFieldFocusedAndSelected();
  }

  void enterOnAnyControlOrTheButtonSearchesAndNeverCloses() {
    auto* button = dialog->findChild<QPushButton*>("btnSearch");
    for (QWidget* target : QList<QWidget*>{button, dialog->findChild<QCheckBox*>("chkShowMaps"),
                                           List(*dialog, "listStateOrProvince"), nullptr}) {
      Edit()->setText("417");
      if (target) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
      } else {
        QTest::mouseClick(button, Qt::LeftButton);
      }
      QVERIFY(dialog->isVisible());
      QCOMPARE(ListTexts(List(*dialog, "listLargestCity")), QStringList{"Springfield"});
      List(*dialog, "listLargestCity")->clear();
    }
    QCOMPARE(QApplication::focusWidget(), Edit());
    QVERIFY(!button->autoDefault());
  }

  void typedAccentReachesTheLookupAsCodePage1252() {
    TypeAndEnter(*dialog, QString::fromUtf8("Montréal"));
    QCOMPARE(dialog->Flow().GetAnswer().largestCity.entries.at(0), std::string("Montr\xE9" "al"));
    QCOMPARE(QueryText(*dialog), QString::fromUtf8("Montréal, Québec"));
  }

  // Beside its major cities, every place of a code: from the Edit menu (or
  // the list's context menu), its heading the list's name for screen
  // readers; a double-click there searches that place, whose answer opens on
  // its major cities again. A choice among namesakes answers its place alone.
  void theFullListAndTheChoiceOfAPlace() {
    dialog.reset();
    QVERIFY((dialog = OpenSampleWindow(NamesakeCities())));
    QListWidget* places = List(*dialog, "listMajorCities");
    TypeAndEnter(*dialog, "570");
    QCOMPARE(places->count(), 25);
    QTest::keyClick(dialog.get(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(places->count(), 30);
    QCOMPARE(dialog->findChild<QLabel*>("lblMajorCities")->text(), QString("All pla&ces (30) in area code:"));
    QCOMPARE(QAccessible::queryAccessibleInterface(places)->text(QAccessible::Name),
             QString("All places (30) in area code"));
    QCOMPARE(QApplication::focusWidget(), places);
    DoubleClickEntry(places, "Hamlet A");
    QCOMPARE(QueryText(*dialog), QString("Hamlet A, Pennsylvania"));
    QCOMPARE(places->count(), 26);
    CCityPickDlg::setNextAnswer(QDialog::Accepted, "Springfield, Pennsylvania (724)");
    TypeAndEnter(*dialog, "Springfield, PA");
    QCOMPARE(QueryText(*dialog), QString("Springfield, Pennsylvania (724)"));
    QCOMPARE(ListTexts(List(*dialog, "listAreaCodes")), QStringList{"724"});
    CCityPickDlg::setNextAnswer(QDialog::Accepted);  // the preselected, most populous one
    TypeAndEnter(*dialog, "Springfield, PA");
    QCOMPARE(QueryText(*dialog), QString("Springfield, Pennsylvania (484/610, 24,000 people)"));
  }

  void doubleClicksOnEachListSearchTheEntry() {
    TypeAndEnter(*dialog, "San Antonio, TX");
    DoubleClickEntry(List(*dialog, "listAreaCodes"), "726");
    QCOMPARE(QueryText(*dialog), QString("726"));
    TypeAndEnter(*dialog, "937");
    DoubleClickEntry(List(*dialog, "listMajorCities"), "Kettering");
    QCOMPARE(QueryText(*dialog), QString("Kettering, Ohio"));
    VerifyFieldFocusedAndSelected();
    DoubleClickEntry(List(*dialog, "listLargestCity"), "Dayton");
    QCOMPARE(QueryText(*dialog), QString("Dayton, Ohio"));
  }

  void cityChoiceAsksTheDialog() {
    CCityPickDlg::setNextAnswer(QDialog::Accepted, "Springfield, Missouri");
    TypeAndEnter(*dialog, "Springfield");
    QCOMPARE(QueryText(*dialog), QString("Springfield, Missouri"));
    QCOMPARE(ListTexts(List(*dialog, "listAreaCodes")), QStringList{"417"});
  }

  void statusLineShowsTimeAndExchangeUnderTheClientArea() {
    dialog->SetClock([] { return *tq::ParseIsoInstant("2026-07-05T22:42Z"); });
    TypeAndEnter(*dialog, "(937) 294-1234");
    auto* status = dialog->findChild<QLabel*>("lblStatus");
    QCOMPARE(status->text(), tq::ToQString(tq::StatusText(dialog->Flow().GetAnswer(),
                                                          *tq::ParseIsoInstant("2026-07-05T22:42Z"))));
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

  // The time zone line switches with the clock beside it, at 2:00 local.
  void timeZoneLineFollowsTheStatusLinesInstant() {
    dialog->SetClock([] { return *tq::ParseIsoInstant("2026-03-08T06:59Z"); });
    TypeAndEnter(*dialog, "Dayton, OH");
    auto* status = dialog->findChild<QLabel*>("lblStatus");
    for (const char* kind : {"Standard", "Daylight"}) {
      const QString zone = QString("Eastern %1 Time").arg(kind);
      QCOMPARE(ListTexts(List(*dialog, "listTimeZone")), QStringList{zone});
      QVERIFY2(status->text().contains(zone), qPrintable(status->text()));
      dialog->SetClock([] { return *tq::ParseIsoInstant("2026-03-08T07:00Z"); });
    }
  }

  // However long, the status line shows all of its text, maps on or off, and
  // tells it to assistive technology: a status bar that announces a change.
  void statusLineShowsItsWholeTextAndAnnouncesIt() {
    QStringList announced;
    connect(dialog.get(), &tq::CLookupDlg::statusAnnounced, this,
            [&announced](const QString& text) { announced << text; });
    auto* status = dialog->findChild<QLabel*>("lblStatus");
    for (bool maps : {true, false}) {
      if (dialog->GetShowMaps() != maps) dialog->OnShowMaps();
      TypeAndEnter(*dialog, maps ? "867" : "(937) 294-1234");
      const QString text = status->text();
      QCOMPARE(status->toolTip(), text);
      QCOMPARE(status->accessibleDescription(), text);
      QCOMPARE(status->accessibleName(), text);
      QVERIFY(!announced.isEmpty());
      QCOMPARE(announced.last(), text);
      // Nothing of it cut: it needs no more width, nor height at its width.
      QVERIFY(status->minimumSizeHint().width() <= status->width());
      QVERIFY(status->heightForWidth(status->width()) <= status->height());
    }
    dialog->SetClock([] { return *tq::ParseIsoInstant("2026-07-05T22:43Z"); });  // a minute on
    QCOMPARE(announced.size(), 2);
    QCOMPARE(QAccessible::queryAccessibleInterface(status)->role(), QAccessible::StatusBar);
  }

  // Edit, Calling Hours: a window of local hours changes the answer shown;
  // any other text is refused with a word and changes nothing.
  void callingHoursAreAskedAndApplied() {
    dialog->SetClock([] { return *tq::ParseIsoInstant("2026-01-15T17:00Z"); });  // 12:00 in Dayton
    TypeAndEnter(*dialog, "Dayton, OH");
    auto* status = dialog->findChild<QLabel*>("lblStatus");
    QVERIFY(status->text().contains("can call now (08:00-21:00)"));
    for (const char* typed : {"13:00-14:00", "noon"}) {
      bool warned = false;
      QTimer::singleShot(0, this, [&, typed] {
        auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        QVERIFY(input);
        input->setTextValue(typed);
        QTimer::singleShot(0, this, [&] {
          auto* warning = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
          warned = warning != nullptr;
          if (warning) warning->accept();
        });
        input->accept();
      });
      MenuAction("E&dit", "Calling &Hours...")->trigger();
      QCOMPARE(warned, typed == std::string("noon"));
      QCOMPARE(tq::CallingHoursText(dialog->GetCallingHours()), std::string("13:00-14:00"));
      QVERIFY2(status->text().contains("outside calling hours (13:00-14:00)"),
               qPrintable(status->text()));
    }
  }

  void escapeFileExitOrCtrlQCloseTheWindow() {
    QTest::keyClick(Edit(), Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    dialog->show();
    MenuAction("&File", "E&xit")->trigger();
    QVERIFY(!dialog->isVisible());
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    QTest::keySequence(Edit(), QKeySequence("Ctrl+Q"));
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
    QVERIFY(dialog->isVisible());
  }

  void f1OpensHelpThatEscapeOrTheWindowCloses() {
    QTest::keyClick(Edit(), Qt::Key_F1);
    auto* help = dialog->findChild<tq::CHelpWindow*>();
    QVERIFY(help && help->isVisible());
    QVERIFY(help->toPlainText().contains("Show maps"));
    QTest::keyClick(help, Qt::Key_Escape);
    QVERIFY(!help->isVisible());
    help->show();
    dialog->close();
    QVERIFY(!help->isVisible());
  }

 private:
  QLineEdit* Edit() const { return dialog->findChild<QLineEdit*>("editQuery"); }
  QAbstractItemView* Suggestions() const {
    return dialog->findChild<QCompleter*>()->popup();
  }
  // Where a key goes: the open suggestion list, else the input field.
  QWidget* KeyTarget() const {
    QWidget* popup = QApplication::activePopupWidget();
    return popup ? popup : static_cast<QWidget*>(Edit());
  }
  void VerifyFieldFocusedAndSelected() const {
    QCOMPARE(QApplication::focusWidget(), Edit());
    QCOMPARE(Edit()->selectedText(), Edit()->text());
    QVERIFY(!QGuiApplication::overrideCursor());
  }
  QAction* MenuAction(const QString& menuTitle, const QString& itemText) {
    for (QAction* menu : dialog->findChild<QMenuBar*>()->actions()) {
      for (QAction* item : menu->menu()->actions()) {
        if (menu->text() == menuTitle && item->text() == itemText) return item;
      }
    }
    return nullptr;
  }

  std::unique_ptr<SampleWindow> dialog;
};

QTEST_MAIN(LookupWindowTest)
#include "lookup_window_test.moc"
