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
    dialog.SetChoices({"Springfield, Ohio", "Springfield, Illinois"});
    Show(dialog);
    QCOMPARE(dialog.windowTitle(), QString("Matching Cities"));
    QVERIFY(dialog.findChild<QLabel*>());
    QCOMPARE(dialog.findChild<QLabel*>()->text(), QString("Please select one:"));
    QCOMPARE(ListTexts(Cities(dialog)),
             (QStringList{"Springfield, Illinois", "Springfield, Ohio"}));
    QCOMPARE(Cities(dialog)->currentRow(), 0);
    QVERIFY(Cities(dialog)->item(0)->isSelected());
    QCOMPARE(QApplication::focusWidget(), Cities(dialog));
    QVERIFY(dialog.findChild<QPushButton*>("btnOK")->isDefault());
  }

  void sortsWithoutRegardToCaseAndKeepsEqualTexts() {
    CCityPickDlg dialog;
    dialog.SetChoices({"b, Ohio", "A, Ohio", "a, Ohio", "C, Ohio", "b, Ohio"});
    Show(dialog);
    const QStringList shown = ListTexts(Cities(dialog));
    QCOMPARE(shown.size(), 5);
    QCOMPARE(shown.mid(2), (QStringList{"b, Ohio", "b, Ohio", "C, Ohio"}));
    QCOMPARE(shown.at(0).compare(shown.at(1), Qt::CaseInsensitive), 0);
  }

  void enterTakesThePreselectedEntry() {
    CCityPickDlg dialog;
    dialog.SetChoices({"Springfield, Ohio", "Springfield, Illinois"});
    Show(dialog);
    QTest::keyClick(Cities(dialog), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.GetSelection(), std::string("Springfield, Illinois"));
  }

  void arrowKeysThenEnterTakeTheNextEntry() {
    CCityPickDlg dialog;
    dialog.SetChoices({"Dayton, Ohio", "Dayton, Texas"});
    Show(dialog);
    QTest::keyClick(Cities(dialog), Qt::Key_Down);
    QTest::keyClick(Cities(dialog), Qt::Key_Return);
    QCOMPARE(dialog.GetSelection(), std::string("Dayton, Texas"));
  }

  void singleChoiceIsSelectedAndOkReturnsIt() {
    CCityPickDlg dialog;
    dialog.SetChoices({"Kettering, Ohio"});
    Show(dialog);
    QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.GetSelection(), std::string("Kettering, Ohio"));
  }

  void doubleClickTakesThatEntry() {
    CCityPickDlg dialog;
    dialog.SetChoices({"Springfield, Illinois", "Springfield, Massachusetts",
                       "Springfield, Missouri"});
    Show(dialog);
    tq::test::DoubleClickEntry(Cities(dialog), "Springfield, Missouri");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.GetSelection(), std::string("Springfield, Missouri"));
  }

  void equalTextsGiveTheSameAnswer() {
    CCityPickDlg dialog;
    dialog.SetChoices({"Troy, New Jersey", "Troy, New Jersey"});
    Show(dialog);
    QTest::keyClick(Cities(dialog), Qt::Key_Down);
    QTest::keyClick(Cities(dialog), Qt::Key_Return);
    QCOMPARE(dialog.GetSelection(), std::string("Troy, New Jersey"));
  }

  void escapeCancels() {
    CCityPickDlg dialog;
    dialog.SetChoices({"Dayton, Ohio", "Dayton, Texas"});
    Show(dialog);
    QTest::keyClick(Cities(dialog), Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.GetSelection(), std::string());
  }

  void cancelButtonCancels() {
    CCityPickDlg dialog;
    dialog.SetChoices({"Dayton, Ohio", "Dayton, Texas"});
    Show(dialog);
    QTest::mouseClick(dialog.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.GetSelection(), std::string());
  }

  void accentedChoicesComeBackInCodePage1252() {
    CCityPickDlg dialog;
    dialog.SetChoices({"Montr\xE9" "al, Qu\xE9" "bec"});
    Show(dialog);
    QCOMPARE(ListTexts(Cities(dialog)), QStringList{QString::fromUtf8("Montréal, Québec")});
    QTest::keyClick(Cities(dialog), Qt::Key_Return);
    QCOMPARE(dialog.GetSelection(), std::string("Montr\xE9" "al, Qu\xE9" "bec"));
  }

  void presetAnswersAreUsedOnce() {
    CCityPickDlg::setNextAnswer(QDialog::Accepted, "Dayton, Texas");
    {
      CCityPickDlg dialog;
      dialog.SetChoices({"Dayton, Ohio", "Dayton, Texas"});
      QCOMPARE(dialog.exec(), int(QDialog::Accepted));
      QCOMPARE(dialog.GetSelection(), std::string("Dayton, Texas"));
    }
    CCityPickDlg::setNextAnswer(QDialog::Rejected);
    {
      CCityPickDlg dialog;
      dialog.SetChoices({"Dayton, Ohio", "Dayton, Texas"});
      QCOMPARE(dialog.exec(), int(QDialog::Rejected));
      QCOMPARE(dialog.GetSelection(), std::string());
    }
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
