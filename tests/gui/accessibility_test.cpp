// The lookup window as a screen reader and a keyboard reach it: accessible
// names and actions, label mnemonics, Enter on a result, copying, shortcuts.

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "app/HelpWindow.h"

using namespace tq::test;

namespace {

QString AccessibleName(QObject* object) {
  return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
}

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY((dialog = OpenSampleWindow({{98, QByteArray("Bell\x07town").toStdString(), "OH",
                                         "USA", 5000, 1, "0", {937}}})));
  }
  void cleanup() { dialog.reset(); }

  void everyFieldAndListIsNamedAfterItsHeading() {
    TypeAndEnter(*dialog, "San Antonio, TX");
    const QList<std::pair<QWidget*, QString>> expected = {
        {Widget("editQuery"), "Enter area code or city, state"},
        {Widget("listAreaCodes"), "Area codes"},
        {Widget("listLargestCity"), "Largest city in area codes"},
        {Widget("listMajorCities"), "Major cities (1) in area codes"},
        {Widget("listStateOrProvince"), "State or province"},
        {Widget("listTimeZone"), "Time zone of largest city"}};
    for (const auto& [widget, name] : expected) QCOMPARE(AccessibleName(widget), name);
  }

  void mnemonicsMoveTheFocusToTheirControls() {
    const QList<std::pair<Qt::Key, const char*>> keys = {
        {Qt::Key_M, "listMajorCities"}, {Qt::Key_Z, "listTimeZone"}, {Qt::Key_E, "editQuery"}};
    for (const auto& [key, name] : keys) {
      QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
      QCOMPARE(QApplication::focusWidget(), Widget(name));
    }
  }

  void showMapsToggledByAScreenReaderSwitchesTheMaps() {
    auto* check = static_cast<QCheckBox*>(Widget("chkShowMaps"));
    auto* actions = QAccessible::queryAccessibleInterface(check)->actionInterface();
    QVERIFY(actions);
    actions->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!check->isChecked());
    QCOMPARE(dialog->GetShowMaps(), 0);  // the setting the application stores
    QVERIFY(!Widget("lblMapHint")->isVisible());
    actions->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(dialog->GetShowMaps(), 1);
    QVERIFY(Widget("lblMapHint")->isVisible());
  }

  void enterOnAResultLooksItUp() {
    TypeAndEnter(*dialog, "937");
    QListWidget* cities = List(*dialog, "listMajorCities");
    cities->setFocus(Qt::TabFocusReason);
    QTest::keyClick(cities, Qt::Key_End);
    QTest::keyClick(cities, Qt::Key_Return);
    QCOMPARE(QueryText(*dialog), QString("Kettering, Ohio "));
    QCOMPARE(QApplication::focusWidget(), Widget("editQuery"));
  }

  void copyTakesTheSelectedEntryWithControlCharactersVisible() {
    TypeAndEnter(*dialog, "937");
    QListWidget* cities = List(*dialog, "listMajorCities");
    QApplication::clipboard()->setText("before");
    cities->setFocus();
    QTest::keyClick(cities, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("before"));  // nothing selected
    cities->setCurrentRow(0);
    QTest::keyClick(cities, Qt::Key_C, Qt::ControlModifier);
    const QString visible = QString::fromUtf8("Bell\u2407town");
    QCOMPARE(QApplication::clipboard()->text(), visible);
    QCOMPARE(QAccessible::queryAccessibleInterface(cities)->child(0)->text(QAccessible::Name),
             visible);
  }

  void ctrlLReturnsToTheInputField() {
    Widget("listTimeZone")->setFocus();
    QTest::keyClick(Widget("listTimeZone"), Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), Widget("editQuery"));
    QCOMPARE(static_cast<QLineEdit*>(Widget("editQuery"))->selectedText(), QString("000"));
  }

  void escapeClosesTheHelp() {
    tq::CHelpWindow help;
    help.show();
    QTest::keyClick(&help, Qt::Key_Escape);
    QVERIFY(!help.isVisible());
  }

 private:
  QWidget* Widget(const char* name) const { return dialog->findChild<QWidget*>(name); }

  std::unique_ptr<SampleWindow> dialog;
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
