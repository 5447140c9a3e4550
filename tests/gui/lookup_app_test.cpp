// The whole run of the application: "tqs.ini" decides how the window opens,
// and the map state that the window is closed with is written back.

#include <QCheckBox>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "GuiTestSupport.h"
#include "app/LookupApp.h"
#include "lookup/LookupDlg.h"
#include "map/MapLayout.h"

using tq::CLookupApp;
using tq::CLookupDlg;
using namespace tq::test;

namespace {

std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct SeenAtStart {
  bool checked = false;
  int showMaps = -1;
  int clientWidth = 0;
};

}  // namespace

class LookupAppTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { data = std::make_unique<SampleDataFolder>(); }
  void cleanup() { data.reset(); }

  void withoutSettingsTheMapsStartHiddenAndShownMapsAreKept() {
    const SeenAtStart seen = RunApp(/*clickShowMaps=*/true);
    QVERIFY(!seen.checked);
    QCOMPARE(seen.showMaps, 0);
    QCOMPARE(seen.clientWidth, tq::kClientWidthMapsHidden);
    QCOMPARE(FileText("tqs.ini"), std::string("1\n"));
  }

  void settingOneStartsWithMapsAndHidingThemWritesZero() {
    WriteBytes("tqs.ini", "1\r\n");
    const SeenAtStart seen = RunApp(/*clickShowMaps=*/true);
    QVERIFY(seen.checked);
    QCOMPARE(seen.showMaps, 1);
    QCOMPARE(seen.clientWidth, tq::kClientWidthMapsShown);
    QCOMPARE(FileText("tqs.ini"), std::string("0\n"));
  }

  void settingZeroStartsWithoutMapsAndStaysZero() {
    WriteBytes("tqs.ini", "0\n");
    const SeenAtStart seen = RunApp(/*clickShowMaps=*/false);
    QVERIFY(!seen.checked);
    QCOMPARE(seen.showMaps, 0);
    QCOMPARE(FileText("tqs.ini"), std::string("0\n"));
  }

  void anyNonzeroNumberShowsTheMapsAndIsWrittenAsOne() {
    WriteBytes("tqs.ini", "  7 maps\n");
    const SeenAtStart seen = RunApp(/*clickShowMaps=*/false);
    QVERIFY(seen.checked);
    QCOMPARE(seen.showMaps, 1);
    QCOMPARE(FileText("tqs.ini"), std::string("1\n"));
  }

  void garbageReadsAsZero() {
    WriteBytes("tqs.ini", "maps please\n");
    const SeenAtStart seen = RunApp(/*clickShowMaps=*/false);
    QVERIFY(!seen.checked);
    QCOMPARE(FileText("tqs.ini"), std::string("0\n"));
  }

  void settingThatCannotBeWrittenIsSilentlyLost() {
    // A folder in the place of the file: it can be neither read nor replaced.
    std::filesystem::create_directory("tqs.ini");
    const SeenAtStart seen = RunApp(/*clickShowMaps=*/true);
    QCOMPARE(seen.showMaps, 0);
    QVERIFY(std::filesystem::is_directory("tqs.ini"));
  }

  void settingInAFolderThatDoesNotExistIsSilentlyLost() {
    CLookupApp app("no-such-folder/tqs.ini");
    CloseWindowSoon({});
    app.InitInstance();
    QCOMPARE(app.GetShowMaps(), 0);
    QVERIFY(!std::filesystem::exists("no-such-folder"));
  }

 private:
  // Runs the application; once its window is up, notes how it opened,
  // optionally clicks "Show maps", and closes it.
  SeenAtStart RunApp(bool clickShowMaps) {
    SeenAtStart seen;
    CloseWindowSoon([&](CLookupDlg& dialog) {
      auto* check = dialog.findChild<QCheckBox*>("chkShowMaps");
      seen.checked = check->isChecked();
      seen.showMaps = dialog.GetShowMaps();
      seen.clientWidth = dialog.findChild<QWidget*>("client")->width();
      if (clickShowMaps) QTest::mouseClick(check, Qt::LeftButton);
    });
    CLookupApp app;
    app.InitInstance();
    return seen;
  }

  void CloseWindowSoon(std::function<void(CLookupDlg&)> look) {
    QTimer::singleShot(0, this, [look] {
      auto* dialog = qobject_cast<CLookupDlg*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      if (look) look(*dialog);
      QTest::keyClick(dialog, Qt::Key_Escape);
    });
  }

  std::unique_ptr<SampleDataFolder> data;
};

QTEST_MAIN(LookupAppTest)
#include "lookup_app_test.moc"
