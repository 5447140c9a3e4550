// The fixed layout of the windows: where the controls lie in client pixels,
// the tab order, and that every text fits its control in the bundled font;
// and the lookup window as a screen reader and a keyboard reach it:
// accessible names and actions, shortcuts, Enter on a result, copying.

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <map>
#include <memory>

#include "GuiTestSupport.h"
#include "app/AboutDlg.h"
#include "app/ProductVersion.h"
#include "lookup/AnswerText.h"
#include "lookup/CallingHoursDlg.h"
#include "lookup/CityPickDlg.h"
#include "lookup/DialogFont.h"
#include "lookup/LookupDlg.h"
#include "map/MapLayout.h"
#include "res/DataDate.h"

using tq::CLookupDlg;
using namespace tq::test;

namespace {

QString WithoutMnemonic(QString text) { return text.remove(QLatin1Char('&')); }

int TextWidth(const QWidget* widget, const QString& text) {
  return QFontMetrics(widget->font()).horizontalAdvance(WithoutMnemonic(text));
}

// Each text with the room that its kind of control leaves for it.
void VerifyTextsFit(const QWidget& window) {
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    if (label->text().isEmpty()) continue;
    QVERIFY2(TextWidth(label, label->text()) <= label->width(), qPrintable(label->text()));
    QVERIFY2(QFontMetrics(label->font()).height() <= label->height(), qPrintable(label->text()));
  }
  for (const QPushButton* button : window.findChildren<QPushButton*>()) {
    const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
    QVERIFY2(TextWidth(button, button->text()) + 2 * margin <= button->width(),
             qPrintable(button->text()));
  }
  for (const QCheckBox* check : window.findChildren<QCheckBox*>()) {
    const QStyle* style = check->style();
    const int indicator = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, check) +
                          style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, check);
    QVERIFY2(indicator + TextWidth(check, check->text()) <= check->width(),
             qPrintable(check->text()));
  }
  for (const QGroupBox* group : window.findChildren<QGroupBox*>()) {
    QVERIFY2(TextWidth(group, group->title()) + 16 <= group->width(), qPrintable(group->title()));
  }
}

}  // namespace

class LayoutAndAccessTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY((dialog = OpenSampleWindow({{98, "Abe\x7Ftown", "OH", "USA", 5000, 1, "0", {937}}})));
  }
  void cleanup() { dialog.reset(); }

  void theBundledFontIsUsed() {
    const QFontInfo info(dialog->font());
    QCOMPARE(info.family(), QString("Liberation Sans"));
    QCOMPARE(info.pixelSize(), tq::kDialogFontPixelSize);
    QCOMPARE(dialog->findChild<QLabel*>("lblMapHint")->font(), tq::DialogFont());
  }

  void clientAreaLiesBelowTheMenuAtTheMapSize() {
    auto* client = dialog->findChild<QWidget*>("client");
    QCOMPARE(client->pos(), QPoint(0, dialog->findChild<QMenuBar*>()->height()));
    QCOMPARE(client->size(), QSize(tq::kClientWidthMapsShown, 374));
  }

  // Larger than its default size, the window's lists grow and what lies
  // under them moves down; the map area moves right. Smaller is only for the
  // lists with the maps hidden, down to two lines. Never larger than the
  // screen's available area.
  void theWindowGrowsItsListsAndStaysOnTheScreen() {
    const QRect available = dialog->screen()->availableGeometry();
    QVERIFY(dialog->maximumSize().width() <= available.width());
    QVERIFY(dialog->maximumSize().height() <= available.height());
    QCOMPARE(dialog->minimumSize().height(), dialog->height());  // the map needs its height
    const auto before = [this] {
      std::map<QString, QRect> rects;
      for (const char* name : {"listAreaCodes", "listMajorCities", "listStateOrProvince",
                               "grpTimeZone", "editQuery", "btnSearch", "chkShowMaps"}) {
        rects[name] = Widget(name)->geometry();
      }
      return rects;
    }();
    const QSize grow(30, 120);
    dialog->resize(dialog->size() + grow);
    QCoreApplication::processEvents();
    const std::pair<const char*, QRect> moved[] = {
        {"listAreaCodes", before.at("listAreaCodes").adjusted(0, 0, 0, grow.height())},
        {"listMajorCities", before.at("listMajorCities").adjusted(0, 0, grow.width(), grow.height())},
        {"listStateOrProvince", before.at("listStateOrProvince").adjusted(0, grow.height(), grow.width(), grow.height())},
        {"grpTimeZone", before.at("grpTimeZone").translated(grow.width(), grow.height())},
        {"editQuery", before.at("editQuery").adjusted(0, 0, grow.width(), 0)},
        {"btnSearch", before.at("btnSearch").translated(grow.width(), 0)},
        {"chkShowMaps", before.at("chkShowMaps")}};
    for (const auto& [name, rect] : moved) QCOMPARE(Widget(name)->geometry(), rect);

    QTest::mouseClick(Widget("chkShowMaps"), Qt::LeftButton);
    QCoreApplication::processEvents();
    const int twoLines = 2 * Widget("listMajorCities")->fontMetrics().height();
    dialog->resize(dialog->minimumSize());
    QCoreApplication::processEvents();
    QVERIFY(dialog->height() < 437);
    QVERIFY(Widget("listMajorCities")->height() >= twoLines);
    QVERIFY(Widget("listMajorCities")->height() < 96);
  }

  // The user's font size scales the text and the layout alike; a font too
  // large for the screen is scaled only as far as the window fits.
  void theLayoutFollowsTheUsersFontSize() {
    dialog.reset();
    std::unique_ptr<CLookupDlg> larger = OpenAtUserFont(12);
    QVERIFY(larger);
    QCOMPARE(larger->findChild<QWidget*>("client")->size(), QSize(910, 449));
    QCOMPARE(QFontInfo(larger->font()).pixelSize(), 12);
    QCOMPARE(larger->findChild<QWidget*>("listMajorCities")->geometry(), QRect(126, 250, 241, 115));
    VerifyTextsFit(*larger);
    larger = OpenAtUserFont(40);
    QVERIFY(larger);
    QVERIFY(QFontInfo(larger->font()).pixelSize() < 40);
    QVERIFY(larger->screen()->availableGeometry().contains(larger->frameGeometry()));
    VerifyTextsFit(*larger);
    SetUserFontPixels(10);
  }

  void controlsLieAtTheirTemplatePixels() {
    const std::pair<const char*, QRect> expected[] = {
        {"grpSearch", {11, 11, 243, 102}},          {"editQuery", {20, 50, 224, 20}},
        {"btnSearch", {168, 76, 75, 23}},           {"chkShowMaps", {20, 81, 80, 16}},
        {"grpResults", {11, 119, 305, 244}},        {"listAreaCodes", {20, 158, 78, 146}},
        {"listLargestCity", {105, 158, 201, 20}},   {"listMajorCities", {105, 208, 201, 96}},
        {"listStateOrProvince", {20, 330, 287, 20}}, {"lblMapHint", {324, 288, 282, 13}},
        {"lblSymbolLegend", {629, 288, 93, 13}},    {"grpTimeZone", {324, 309, 423, 54}},
        {"listTimeZone", {467, 330, 264, 20}}};
    for (const auto& [name, rect] : expected) QCOMPARE(Widget(name)->geometry(), rect);
  }

  void tabGoesThroughTheControlsInReadingOrder() {
    const QStringList expected = {"editQuery",       "btnSearch",       "chkShowMaps",
                                  "listAreaCodes",   "listLargestCity", "listMajorCities",
                                  "listStateOrProvince", "listTimeZone"};
    QWidget* focused = Widget("editQuery");
    QStringList order{focused->objectName()};
    for (int i = 1; i < expected.size(); ++i) {
      focused = focused->nextInFocusChain();
      while (!(focused->focusPolicy() & Qt::TabFocus)) focused = focused->nextInFocusChain();
      order << focused->objectName();
    }
    QCOMPARE(order, expected);
  }

  void mnemonicsOfTheControlsAndTheMenu() {
    QCOMPARE(static_cast<QPushButton*>(Widget("btnSearch"))->text(), QString("&Search"));
    QCOMPARE(static_cast<QCheckBox*>(Widget("chkShowMaps"))->text(), QString("&Show maps"));
    QStringList menu;
    for (QAction* popup : dialog->findChild<QMenuBar*>()->actions()) {
      menu << popup->text();
      for (QAction* item : popup->menu()->actions()) menu << item->text();
    }
    QCOMPARE(menu, (QStringList{"&File", "E&xit", "E&dit", "&Copy", "Copy &Answer",
                                "&Go to Search Field", "Go to S&tatus Line", "Calling &Hours...", "",
                                "Show A&ll Places", "&Help",
                                "&Contents...", "&About..."}));
  }

  void altSMovesBetweenTheTwoControlsThatShareIt() {
    QTest::keyClick(Widget("editQuery"), Qt::Key_S, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), Widget("btnSearch"));
    QTest::keyClick(Widget("btnSearch"), Qt::Key_S, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), Widget("chkShowMaps"));
    QVERIFY(static_cast<QCheckBox*>(Widget("chkShowMaps"))->isChecked());  // not clicked
  }

  void everyTextOfTheLookupWindowFits() {
    VerifyTextsFit(*dialog);
    // The headings at their longest.
    for (const auto& [name, text] : {std::pair{"lblMajorCities", "Major cities (999 of 9999) in area codes:"},
                                     {"lblMajorCities", "All places (9999) in area codes:"},
                                     {"lblLargestCity", "Largest city in area code(s):"},
                                     {"lblAreaCodes", "Area code(s):"}}) {
      QVERIFY2(TextWidth(Widget(name), text) <= Widget(name)->width(), name);
    }
  }

  void theCityChoiceTheAboutBoxAndTheCallingHoursFit() {
    tq::CCityPickDlg pick;
    pick.SetCityChoices({{"Springfield, Massachusetts", "Springfield", "MA", 155929, {413}},
                         {"Saint-Jean-sur-Richelieu, Qu\xE9" "bec", "", "QC", 97873, {450, 579}}});
    pick.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pick));
    QCOMPARE(pick.size(), QSize(450, 190));
    VerifyTextsFit(pick);
    // Each entry and its figures side by side in the list, with room between.
    auto* list = pick.findChild<QListWidget*>("listCities");
    QCOMPARE(Accessible(list)->text(QAccessible::Name), QString("Matching cities"));
    for (int row = 0; row < list->count(); ++row) {
      const QListWidgetItem* item = list->item(row);
      const QString details = item->data(Qt::AccessibleDescriptionRole).toString();
      QVERIFY2(!details.isEmpty(), qPrintable(item->text()));
      QVERIFY2(TextWidth(list, item->text()) + TextWidth(list, details) + tq::kCityPickGap +
                       2 * tq::kCityPickTextMargin <= list->viewport()->width(),
               qPrintable(item->text()));
    }
    tq::CAboutDlg about;
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>()) texts << label->text();
    QVERIFY(texts.contains(QString::fromStdString(tq::AboutVersionLine())));
    QVERIFY(texts.contains(QString("This version contains area codes in service at the end of %1.")
                               .arg(QString::fromUtf8(kDataMonthYear))));
    VerifyTextsFit(about);
    tq::CCallingHoursDlg hours(tq::CallingHours{});
    VerifyTextsFit(hours);
  }

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

  // With the maps hidden, Tab and every mnemonic stay on controls inside the
  // narrow window (Alt+Z, whose list went with the maps, moves nothing); at
  // the right edge of the screen the window moves left as the maps widen it.
  void mapsHiddenKeepTheFocusInsideAndShownKeepTheWindowOnScreen() {
    QTest::mouseClick(Widget("chkShowMaps"), Qt::LeftButton);
    QCoreApplication::processEvents();  // the window takes its new width
    for (int key = 0; key < 12; ++key) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      const QWidget* focused = QApplication::focusWidget();
      QVERIFY2(focused->isVisible() && Widget("client")->rect().contains(focused->geometry()),
               qPrintable(focused->objectName()));
    }
    // An Alt chord that nothing takes types nothing either.
    const QString typed = static_cast<QLineEdit*>(Widget("editQuery"))->text();
    for (const auto& [key, name] : {std::pair{"Alt+E", "editQuery"}, {"Alt+Z", "editQuery"},
                                    {"Alt+Q", "editQuery"}}) {
      QTest::keySequence(QApplication::focusWidget(), QKeySequence(key));
      QCOMPARE(QApplication::focusWidget(), Widget(name));
    }
    QCOMPARE(static_cast<QLineEdit*>(Widget("editQuery"))->text(), typed);
    const QRect available = dialog->screen()->availableGeometry();
    dialog->move(available.right() + 1 - dialog->frameGeometry().width(), available.top() + 40);
    QTest::mouseClick(Widget("chkShowMaps"), Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY(available.contains(dialog->frameGeometry()));
    QCOMPARE(dialog->frameGeometry().top(), available.top() + 40);
  }

  // Every result list offers Copy (the entry with the focus) and Copy
  // Answer, the major cities also their full list; Shift+F10 opens it, and
  // the input field's own menu.
  void everyListHasACopyMenu() {
    const std::int64_t now = 1783290000;
    dialog->SetClock([now] { return now; });
    TypeAndEnter(*dialog, "937");
    for (const char* name : {"listAreaCodes", "listLargestCity", "listMajorCities",
                             "listStateOrProvince", "listTimeZone"}) {
      auto* list = static_cast<QListWidget*>(Widget(name));
      QVERIFY2(list->count() > 0, name);
      // Shift+F10 on the entry with the focus, as the mouse's right button.
      list->setFocus();
      list->setCurrentRow(list->count() - 1);
      QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
      auto* menu = list->findChild<QMenu*>("listMenu");
      QVERIFY2(menu && menu->isVisible(), name);
      const QList<QAction*> actions = menu->actions();
      QCOMPARE(actions.size(), QString(name) == "listMajorCities" ? 3 : 2);
      actions[0]->trigger();
      QCOMPARE(QApplication::clipboard()->text(), list->item(list->count() - 1)->text());
      actions[1]->trigger();
      QCOMPARE(QApplication::clipboard()->text().toStdString(),
               tq::AnswerText(dialog->Flow().GetAnswer(), now));
      menu->close();
    }
    QLineEdit* field = static_cast<QLineEdit*>(Widget("editQuery"));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_F10, Qt::ShiftModifier);
    QMenu* fieldMenu = field->findChild<QMenu*>();
    QVERIFY(fieldMenu && fieldMenu->isVisible());
    fieldMenu->close();
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
    const QString visible = QString::fromUtf8("Abe\u2421town");
    QCOMPARE(QApplication::clipboard()->text(), visible);
    QCOMPARE(Accessible(cities)->child(0)->text(QAccessible::Name), visible);
    const std::int64_t now = *tq::ParseIsoInstant("2026-07-05T22:42Z");
    dialog->SetClock([now] { return now; });
    QTest::keyClick(cities, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::clipboard()->text().toStdString(),
             tq::AnswerText(dialog->Flow().GetAnswer(), now));
    QVERIFY(QApplication::clipboard()->text().contains(visible));
    QTest::keyClick(cities, Qt::Key_End);
    QTest::keyClick(cities, Qt::Key_Return);
    QCOMPARE(QueryText(*dialog), QString("Kettering, Ohio"));
  }

 private:
  QWidget* Widget(const char* name) { return dialog->findChild<QWidget*>(QLatin1String(name)); }
  // A window made while the user's font is `pixels` high.
  static std::unique_ptr<CLookupDlg> OpenAtUserFont(int pixels) {
    SetUserFontPixels(pixels);
    auto window = std::make_unique<CLookupDlg>(1);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
    return window;
  }
  static QAccessibleInterface* Accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
  }

  std::unique_ptr<SampleWindow> dialog;
  SampleDataFolder data_;
};

QTEST_MAIN(LayoutAndAccessTest)
#include "window_layout_test.moc"
