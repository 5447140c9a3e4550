// "Matching Cities" on its own: shown as a window and answered with real
// keys and clicks.

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "GuiTestSupport.h"
#include "lookup/CityPickDlg.h"

using tq::CCityPickDlg;
using tq::test::ListTexts;

namespace {

QListWidget* Cities(const CCityPickDlg& dialog) {
  return dialog.findChild<QListWidget*>("listCities");
}

}  // namespace

class CityPickDialogTest : public QObject {
  Q_OBJECT

 private slots:
  // The most populous first, equals by their text.
  void showsTheChoicesMostPopulousFirstWithTheFirstSelected() {
    CCityPickDlg dialog;
    dialog.SetCityChoices({{"b, Ohio", "b", "OH", 300, {}, 1}, {"Springfield, Ohio", "", "OH", 5, {}, 2},
                           {"A, Ohio", "A", "OH", 10, {}, 3}, {"C, Ohio", "C", "OH", 300, {}, 4}});
    Show(dialog);
    QCOMPARE(dialog.windowTitle(), QString("Matching Cities"));
    QCOMPARE(dialog.findChild<QLabel*>()->text(), QString("Please select one:"));
    QCOMPARE(ListTexts(Cities(dialog)), (QStringList{"b, Ohio", "C, Ohio", "A, Ohio",
                                                     "Springfield, Ohio"}));
    QVERIFY(Cities(dialog)->item(0)->isSelected());
    QCOMPARE(QApplication::focusWidget(), Cities(dialog));
    QVERIFY(dialog.findChild<QPushButton*>("btnOK")->isDefault());
  }

  // Each way of answering the shown dialog on "Dayton, Ohio" and "Dayton, Texas" (or
  // one accented choice, which comes back in code page 1252): result and answer.
  void answers_data() {
    QTest::addColumn<QString>("keys");  // "D" Down, "E" Enter, "X" Escape, "O" OK, "C" Cancel,
                                        // "2" a double-click on the second entry, "A" accented
    QTest::addColumn<QString>("selection");
    QTest::newRow("Enter takes the preselected entry") << "E" << "Dayton, Ohio";
    QTest::newRow("arrow key then Enter") << "DE" << "Dayton, Texas";
    QTest::newRow("OK") << "O" << "Dayton, Ohio";
    QTest::newRow("double-click") << "2" << "Dayton, Texas";
    QTest::newRow("Escape cancels") << "X" << "";
    QTest::newRow("Cancel cancels") << "C" << "";
    QTest::newRow("accents") << "AE" << QString::fromUtf8("Montréal, Québec");
  }

  void answers() {
    QFETCH(QString, keys);
    QFETCH(QString, selection);
    CCityPickDlg dialog;
    if (keys.startsWith('A')) {
      dialog.SetChoices({"Montr\xE9" "al, Qu\xE9" "bec"});
    } else {
      dialog.SetChoices({"Dayton, Texas", "Dayton, Ohio"});
    }
    Show(dialog);
    for (const QChar key : keys) {
      if (key == 'O' || key == 'C') {
        QTest::mouseClick(dialog.findChild<QPushButton*>(key == 'O' ? "btnOK" : "btnCancel"),
                          Qt::LeftButton);
      } else if (key == '2') {
        tq::test::DoubleClickEntry(Cities(dialog), "Dayton, Texas");
      } else if (key != 'A') {
        QTest::keyClick(Cities(dialog), key == 'D' ? Qt::Key_Down
                                        : key == 'E' ? Qt::Key_Return : Qt::Key_Escape);
      }
    }
    QCOMPARE(dialog.result(), int(selection.isEmpty() ? QDialog::Rejected : QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(QString::fromLatin1(dialog.GetSelection().c_str()), selection);
  }

  void chooserAsksOneDialogPerQuestion() {
    tq::CCityPickChooser chooser(nullptr);
    const std::vector<tq::CityChoice> choices{{"Dayton, Texas", "Dayton", "TX", 0, {936}, 50},
                                              {"Dayton, Ohio", "Dayton", "OH", 0, {937}, 42}};
    CCityPickDlg::setNextAnswer(QDialog::Accepted);
    const tq::CityChoiceReply chosen = chooser.ChooseCity(choices);
    QCOMPARE(chosen.kind, tq::CityChoiceReply::Kind::kChosen);
    QCOMPARE(chosen.text, std::string("Dayton, Ohio"));
    QCOMPARE(chosen.cityId, 42);  // the place, not only its text
    CCityPickDlg::setNextAnswer(QDialog::Rejected);
    QCOMPARE(chooser.ChooseCity(choices).kind, tq::CityChoiceReply::Kind::kCancelled);
  }

 private:
  static void Show(CCityPickDlg& dialog) {
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  }
};

QTEST_MAIN(CityPickDialogTest)
#include "city_pick_dialog_test.moc"
