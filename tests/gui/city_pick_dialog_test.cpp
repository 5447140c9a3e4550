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
  void showsTheChoicesSortedWithTheFirstSelected() {
    CCityPickDlg dialog;
    dialog.SetChoices({"b, Ohio", "Springfield, Ohio", "A, Ohio", "C, Ohio"});
    Show(dialog);
    QCOMPARE(dialog.windowTitle(), QString("Matching Cities"));
    QCOMPARE(dialog.findChild<QLabel*>()->text(), QString("Please select one:"));
    QCOMPARE(ListTexts(Cities(dialog)), (QStringList{"A, Ohio", "b, Ohio", "C, Ohio",
                                                     "Springfield, Ohio"}));
    QVERIFY(Cities(dialog)->item(0)->isSelected());
    QCOMPARE(QApplication::focusWidget(), Cities(dialog));
    QVERIFY(dialog.findChild<QPushButton*>("btnOK")->isDefault());
  }

  // Each way of answering the shown dialog: its result and the answer.
  void answers_data() {
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QString>("keys");  // "D" Down, "E" Enter, "X" Escape, "O" OK, "C" Cancel
    QTest::addColumn<QString>("doubleClicked");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("selection");
    const QStringList dayton = {"Dayton, Ohio", "Dayton, Texas"};
    const int ok = QDialog::Accepted, cancel = QDialog::Rejected;
    QTest::newRow("Enter takes the preselected entry")
        << QStringList{"Springfield, Ohio", "Springfield, Illinois"} << "E" << "" << ok
        << "Springfield, Illinois";
    QTest::newRow("arrow key then Enter") << dayton << "DE" << "" << ok << "Dayton, Texas";
    QTest::newRow("OK on a single choice") << QStringList{"Kettering, Ohio"} << "O" << "" << ok
                                           << "Kettering, Ohio";
    QTest::newRow("double-click")
        << QStringList{"Springfield, Illinois", "Springfield, Massachusetts",
                       "Springfield, Missouri"}
        << "" << "Springfield, Missouri" << ok << "Springfield, Missouri";
    QTest::newRow("Escape cancels") << dayton << "X" << "" << cancel << "";
    QTest::newRow("Cancel cancels") << dayton << "C" << "" << cancel << "";
    // Accented choices come back in code page 1252 (Latin-1 here).
    QTest::newRow("accents") << QStringList{QString::fromUtf8("Montréal, Québec")} << "E" << ""
                             << ok << QString::fromUtf8("Montréal, Québec");
  }

  void answers() {
    QFETCH(QStringList, choices);
    QFETCH(QString, keys);
    QFETCH(QString, doubleClicked);
    QFETCH(int, result);
    QFETCH(QString, selection);
    CCityPickDlg dialog;
    std::vector<std::string> choices1252;
    for (const QString& choice : choices) choices1252.push_back(choice.toLatin1().toStdString());
    dialog.SetChoices(choices1252);
    Show(dialog);
    QVERIFY(ListTexts(Cities(dialog)).contains(choices.front()));
    for (const QChar key : keys) {
      if (key == 'O' || key == 'C') {
        QTest::mouseClick(dialog.findChild<QPushButton*>(key == 'O' ? "btnOK" : "btnCancel"),
                          Qt::LeftButton);
      } else {
        QTest::keyClick(Cities(dialog), key == 'D' ? Qt::Key_Down
                                        : key == 'E' ? Qt::Key_Return : Qt::Key_Escape);
      }
    }
    if (!doubleClicked.isEmpty()) tq::test::DoubleClickEntry(Cities(dialog), doubleClicked);
    QCOMPARE(dialog.result(), result);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(QString::fromLatin1(dialog.GetSelection().c_str()), selection);
  }

  void chooserAsksOneDialogPerQuestion() {
    tq::CCityPickChooser chooser(nullptr);
    CCityPickDlg::setNextAnswer(QDialog::Accepted);
    QCOMPARE(chooser.ChooseCity({"Dayton, Texas", "Dayton, Ohio"}).value_or("?"),
             std::string("Dayton, Ohio"));
    CCityPickDlg::setNextAnswer(QDialog::Rejected);
    QVERIFY(!chooser.ChooseCity({"Dayton, Texas", "Dayton, Ohio"}));
  }

 private:
  static void Show(CCityPickDlg& dialog) {
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  }
};

QTEST_MAIN(CityPickDialogTest)
#include "city_pick_dialog_test.moc"
