// The lookup window driven as a user drives it: typing, Enter, the Search
// button, double-clicks on results, the city choice, the menu and Escape.
// What a search finds is the core's; here only that the window shows it.

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "GuiTestSupport.h"
#include "app/AboutDlg.h"
#include "app/HelpWindow.h"
#include "lookup/Announcer.h"
#include "lookup/AnswerText.h"
#include "lookup/CallingHoursDlg.h"
#include "lookup/CityPickDlg.h"
#include "lookup/LookupDlg.h"
#include "lookup/QtText.h"
#include "lookup/SuggestionList.h"
#include "time/LocalTime.h"

using tq::CCityPickDlg;
using namespace tq::test;

class LookupWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY((dialog = OpenSampleWindow())); }
  void cleanup() { dialog.reset(); }

  void opensWithAnEmptyFieldThatSaysWhatToType() {
    QCOMPARE(Edit()->text(), QString());
    QCOMPARE(Edit()->placeholderText(), QString("Area code, phone number or town"));
    QCOMPARE(QApplication::focusWidget(), Edit());
    QCOMPARE(dialog->windowTitle(), QString("Telquest Pro"));
  }

  // Suggestions while typing, the most populous first, in a list under the
  // field, which keeps the focus: no entry is active until Down makes one
  // so (Up from the first makes none), Enter or a click searches it, Enter
  // with none searches the text as typed, and Escape closes the list only.
  // To assistive technology the list is the field's controlled list.
  void suggestionsAsYouTypeAreSearchedWhenTaken() {
    QTest::keyClicks(Edit(), "spr");
    tq::SuggestionList* list = Suggestions();
    QVERIFY(list->isVisible());
    QCOMPARE(ListTexts(list), (QStringList{"Springfield, MO", "Springfield, MA", "Springfield, IL"}));
    QCOMPARE(list->Active(), QString());
    QCOMPARE(QApplication::focusWidget(), Edit());
    QCOMPARE(Accessible(Edit())->relations(QAccessible::Controlled),
             (QList<QPair<QAccessibleInterface*, QAccessible::Relation>>{{Accessible(list), QAccessible::Controlled}}));
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) QTest::keyClick(Edit(), key);
    QCOMPARE(list->Active(), QString("Springfield, MA"));
    QTest::keyClick(Edit(), Qt::Key_Return);
    QVERIFY(!list->isVisible());
    QCOMPARE(QueryText(*dialog), QString("Springfield, MA"));
    QCOMPARE(ListTexts(List(*dialog, "listStateOrProvince")), QStringList{"Massachusetts (MA)"});

    Edit()->selectAll();
    QTest::keyClicks(Edit(), "montr");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(list->item(0)).center());
    QCOMPARE(ListTexts(List(*dialog, "listStateOrProvince")), QStringList{QString::fromUtf8("Québec (QC)")});
    QCOMPARE(QApplication::focusWidget(), Edit());

    Edit()->selectAll();
    QTest::keyClicks(Edit(), "day");
    QTest::keyClick(Edit(), Qt::Key_Down);
    QTest::keyClick(Edit(), Qt::Key_Escape);
    QVERIFY(!list->isVisible());
    QVERIFY(dialog->isVisible());
    QCOMPARE(QueryText(*dialog), QString("day"));
    QTest::keyClicks(Edit(), "t");  // a new list, none active
    QTest::keyClick(Edit(), Qt::Key_Down);
    QTest::keyClick(Edit(), Qt::Key_Up);
    QCOMPARE(list->Active(), QString());

    // Enter with the list open but nothing chosen searches the text as typed.
    TypeAndEnter(*dialog, "san antonio");
    QCOMPARE(QueryText(*dialog), QString("San Antonio, Texas"));
  }

  void showsWhatTheSearchFound() {
    TypeAndEnter(*dialog, "  San Antonio, TX ");
    const tq::Answer& answer = dialog->Flow().GetAnswer();
    QCOMPARE(QueryText(*dialog), QString::fromStdString(answer.query));
    const std::vector<std::string> major = answer.majorCities.entries.Texts();
    const std::pair<const char*, const std::vector<std::string>*> lists[] = {
        {"listAreaCodes", &answer.areaCodes.entries},
        {"listLargestCity", &answer.largestCity.entries},
        {"listMajorCities", &major},
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
    QCOMPARE(StatusShown(), tq::ToQString(tq::StatusText(dialog->Flow().GetAnswer(),
                                                                   *tq::ParseIsoInstant("2026-07-05T22:42Z"))));
    const QList<QListWidgetItem*> selected = List(*dialog, "listMajorCities")->selectedItems();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.front()->text(), QString("Kettering"));
    for (bool maps : {true, false}) {
      if (dialog->GetShowMaps() != maps) dialog->OnShowMaps();
      QWidget* bar = dialog->findChild<QWidget*>("statusBar");
      QVERIFY(Status()->isVisible());
      const QRect client = dialog->findChild<QWidget*>("client")->geometry();
      QCOMPARE(bar->geometry().top(), client.bottom() + 1);
      QCOMPARE(dialog->height(), bar->geometry().bottom() + 1);
    }
  }

  // The time zone line switches with the clock beside it, at 2:00 local.
  void timeZoneLineFollowsTheStatusLinesInstant() {
    dialog->SetClock([] { return *tq::ParseIsoInstant("2026-03-08T06:59Z"); });
    TypeAndEnter(*dialog, "Dayton, OH");
    for (const char* kind : {"Standard", "Daylight"}) {
      const QString zone = QString("Eastern %1 Time").arg(kind);
      QCOMPARE(ListTexts(List(*dialog, "listTimeZone")), QStringList{zone});
      QVERIFY2(StatusShown().contains(zone), qPrintable(StatusShown()));
      dialog->SetClock([] { return *tq::ParseIsoInstant("2026-03-08T07:00Z"); });
    }
  }

  // The status area keeps its height, two lines and more, whatever an answer
  // says, and scrolls what does not fit; Tab and F6 reach it. Each answer is
  // announced once, as a notification, the minute's clock is not.
  void statusAreaKeepsItsHeightAndEachAnswerIsAnnouncedOnce() {
    QStringList announced;
    auto* announcer = dialog->findChild<tq::Announcer*>("announcer");
    connect(announcer, &tq::Announcer::announced, this,
            [&announced](const QString& text) { announced << text; });
    for (bool maps : {true, false}) {
      if (dialog->GetShowMaps() != maps) dialog->OnShowMaps();
      const int height = dialog->height();
      for (const char* query : {"867", "(937) 294-1234", "Dayton, OH", "0"}) {
        TypeAndEnter(*dialog, query);
        QCOMPARE(dialog->height(), height);
        QVERIFY(Status()->height() >= 2 * Status()->fontMetrics().lineSpacing());
        QCOMPARE(Status()->toolTip(), StatusShown());
      }
    }
    QCOMPARE(announced.size(), 8);
    QCOMPARE(Accessible(announcer)->role(), QAccessible::Notification);
    QCOMPARE(Accessible(announcer)->text(QAccessible::Name), announced.last());
    dialog->SetClock([] { return *tq::ParseIsoInstant("2026-07-05T22:43Z"); });  // a minute on
    QCOMPARE(announced.size(), 8);
    QCOMPARE(Accessible(dialog->findChild<QWidget*>("statusBar"))->role(), QAccessible::StatusBar);
    QTest::keyClick(Edit(), Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), Status());
    QTest::keyClick(Status(), Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != Status());
  }

  // Edit, Calling Hours: two times of day change the answer shown. A
  // mistake is told in the dialog as it is typed, and OK stays off: the
  // dialog never closes on it and keeps what was typed.
  void callingHoursAreAskedAndApplied() {
    dialog->SetClock([] { return *tq::ParseIsoInstant("2026-01-15T17:00Z"); });  // 12:00 in Dayton
    TypeAndEnter(*dialog, "(937) 294-1234");
    QVERIFY(StatusShown().contains(QString::fromUtf8("can call now (8:00\u00A0AM\u20139:00\u00A0PM)")));
    QString problem;
    bool okWhileWrong = true;
    QTimer::singleShot(0, this, [&] {
      auto* ask = qobject_cast<tq::CCallingHoursDlg*>(QApplication::activeModalWidget());
      QVERIFY(ask);
      auto* from = ask->findChild<QLineEdit*>("editFrom");
      auto* to = ask->findChild<QLineEdit*>("editTo");
      auto* ok = ask->findChild<QPushButton*>("btnOK");
      QCOMPARE(from->text(), QString("8:00"));
      from->setText("noon");
      problem = ask->findChild<QLabel*>("lblProblem")->text();
      okWhileWrong = ok->isEnabled();
      QTest::keyClick(from, Qt::Key_Return);  // nothing happens
      QVERIFY(ask->isVisible());
      QCOMPARE(from->text(), QString("noon"));
      from->setText("13:00");
      to->setText("13:00");
      QVERIFY(!ok->isEnabled());
      to->setText("14:00");
      QTest::keyClick(to, Qt::Key_Return);
    });
    MenuAction("E&dit", "Calling &Hours...")->trigger();
    QVERIFY(problem.contains("From"));
    QVERIFY(!okWhileWrong);
    QCOMPARE(tq::CallingHoursText(dialog->GetCallingHours()), std::string("13:00-14:00"));
    // The number is searched again with the new hours, its exchange kept.
    QCOMPARE(QueryText(*dialog), QString("(937) 294-1234"));
    QVERIFY2(StatusShown().contains(QString::fromUtf8("outside calling hours (1:00\u00A0PM\u20132:00\u00A0PM)")),
             qPrintable(StatusShown()));
    QVERIFY(StatusShown().contains("Kettering"));
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
    QVERIFY(help->PlainText().contains("Show maps"));
    // A document of headings to assistive technology.
    QAccessibleInterface* page = Accessible(help->findChild<QWidget*>("helpDocument"));
    QCOMPARE(page->role(), QAccessible::Document);
    QStringList headings;
    for (int i = 0; i < page->childCount(); ++i) {
      if (page->child(i)->role() == QAccessible::Heading) headings << page->child(i)->text(QAccessible::Name);
    }
    QCOMPARE(headings.mid(0, 3), (QStringList{"Telquest Pro", "Searching", "Results"}));
    QVERIFY(headings.contains("Keys"));
    QTest::keyClick(help, Qt::Key_Escape);
    QVERIFY(!help->isVisible());
    help->show();
    dialog->close();
    QVERIFY(!help->isVisible());
  }

 private:
  QLineEdit* Edit() const { return dialog->findChild<QLineEdit*>("editQuery"); }
  QPlainTextEdit* Status() const { return dialog->findChild<QPlainTextEdit*>("editStatus"); }
  QString StatusShown() const { return Status()->document()->toRawText(); }
  tq::SuggestionList* Suggestions() const { return dialog->findChild<tq::SuggestionList*>("suggestions"); }
  static QAccessibleInterface* Accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
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
