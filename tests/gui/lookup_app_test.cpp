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

  // How the window opens for what "tqs.ini" holds, and what is written back
  // after "Show maps" was clicked or not.
  void settingDecidesTheStartAndTheEndIsWritten_data() {
    QTest::addColumn<QByteArray>("setting");  // null: no file
    QTest::addColumn<bool>("click");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("no file, maps then shown") << QByteArray() << true << false << QByteArray("1\n");
    QTest::newRow("1, maps then hidden") << QByteArray("1\r\n") << true << true << QByteArray("0\n");
    QTest::newRow("0 stays 0") << QByteArray("0\n") << false << false << QByteArray("0\n");
    QTest::newRow("any nonzero number is 1")
        << QByteArray("  7 maps\n") << false << true << QByteArray("1\n");
    QTest::newRow("garbage reads as 0")
        << QByteArray("maps please\n") << false << false << QByteArray("0\n");
  }

  void settingDecidesTheStartAndTheEndIsWritten() {
    QFETCH(QByteArray, setting);
    QFETCH(bool, click);
    QFETCH(bool, shown);
    QFETCH(QByteArray, written);
    if (!setting.isNull()) WriteBytes("tqs.ini", setting.toStdString());
    const SeenAtStart seen = RunApp(click);
    QCOMPARE(seen.checked, shown);
    QCOMPARE(seen.showMaps, shown ? 1 : 0);
    QCOMPARE(seen.clientWidth, shown ? tq::kClientWidthMapsShown : tq::kClientWidthMapsHidden);
    QCOMPARE(FileText("tqs.ini"), written.toStdString());
  }

  void settingThatCannotBeWrittenIsSilentlyLost() {
    // A folder in the place of the file: it can be neither read nor replaced.
    std::filesystem::create_directory("tqs.ini");
    const SeenAtStart seen = RunApp(/*clickShowMaps=*/true);
    QCOMPARE(seen.showMaps, 0);
    QVERIFY(std::filesystem::is_directory("tqs.ini"));
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

  void CloseWindowSoon(const std::function<void(CLookupDlg&)>& look) {
    QTimer::singleShot(0, this, [look] {
      auto* dialog = qobject_cast<CLookupDlg*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      look(*dialog);
      QTest::keyClick(dialog, Qt::Key_Escape);
    });
  }

  std::unique_ptr<SampleDataFolder> data;
};

QTEST_MAIN(LookupAppTest)
#include "lookup_app_test.moc"
