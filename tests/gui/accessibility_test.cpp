// The lookup window as a screen reader and a keyboard reach it: accessible
// names and actions, shortcuts, Enter on a result, copying.

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "lookup/AnswerText.h"

using namespace tq::test;

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY((dialog = OpenSampleWindow({{98, "Bell\x07town", "OH", "USA", 5000, 1, "0", {937}}})));
  }
  void cleanup() { dialog.reset(); }

  void everyFieldAndListIsNamedAfterItsHeading() {
    TypeAndEnter(*dialog, "San Antonio, TX");
    const QList<std::pair<const char*, QString>> expected = {
        {"editQuery", "Enter area code or city, state"}, {"listAreaCodes", "Area codes"},
        {"listLargestCity", "Largest city in area codes"},
        {"listMajorCities", "Major cities (1) in area codes"},
        {"listStateOrProvince", "State or province"},
        {"listTimeZone", "Time zone of largest city"}};
    for (const auto& [name, text] : expected)
      QCOMPARE(Accessible(Widget(name))->text(QAccessible::Name), text);
  }

  void shortcutsMoveTheFocus() {
    const QList<std::pair<const char*, const char*>> keys = {
        {"Alt+M", "listMajorCities"}, {"Alt+Z", "listTimeZone"}, {"Alt+E", "editQuery"},
        {"Alt+P", "listStateOrProvince"}, {"Ctrl+L", "editQuery"}};
    for (const auto& [key, name] : keys) {
      QTest::keySequence(QApplication::focusWidget(), QKeySequence(key));
      QCOMPARE(QApplication::focusWidget(), Widget(name));
    }
  }

  void showMapsToggledByAScreenReaderSwitchesTheMaps() {
    auto* check = static_cast<QCheckBox*>(Widget("chkShowMaps"));
    for (int shown : {0, 1}) {
      Accessible(check)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
      QCOMPARE(check->isChecked(), shown == 1);
      QCOMPARE(dialog->GetShowMaps(), shown);  // the setting the application stores
      QCOMPARE(Widget("lblMapHint")->isVisible(), shown == 1);
    }
  }

  void copyAndEnterOnTheSelectedResult() {
    TypeAndEnter(*dialog, "937");
    QListWidget* cities = List(*dialog, "listMajorCities");
    QApplication::clipboard()->setText("before");
    cities->setFocus(Qt::TabFocusReason);
    QTest::keyClick(cities, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("before"));  // nothing selected
    cities->setCurrentRow(0);
    QTest::keyClick(cities, Qt::Key_C, Qt::ControlModifier);
    const QString visible = QString::fromUtf8("Bell\u2407town");
    QCOMPARE(QApplication::clipboard()->text(), visible);
    QCOMPARE(Accessible(cities)->child(0)->text(QAccessible::Name), visible);
    QTest::keyClick(cities, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::clipboard()->text().toStdString(), tq::AnswerText(dialog->Flow()));
    QTest::keyClick(cities, Qt::Key_End);
    QTest::keyClick(cities, Qt::Key_Return);
    QCOMPARE(QueryText(*dialog), QString("Kettering, Ohio "));
  }

 private:
  QWidget* Widget(const char* name) const { return dialog->findChild<QWidget*>(name); }
  static QAccessibleInterface* Accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
  }

  std::unique_ptr<SampleWindow> dialog;
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
