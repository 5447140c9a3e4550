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

using namespace tq::test;

class LookupAppTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUserFontPixels(10); }
  void init() { data = std::make_unique<SampleDataFolder>(); }
  void cleanup() { data.reset(); }

  // How the window opens for what "tqs.ini" holds, and what is written back
  // after "Show maps" was clicked or not (the reading itself is the core's).
  void settingDecidesTheStartAndTheEndIsWritten_data() {
    QTest::addColumn<QByteArray>("setting");  // null: no file
    QTest::addColumn<bool>("click");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("no file, maps then shown") << QByteArray() << true << false << QByteArray("1\n");
    QTest::newRow("1, maps then hidden") << QByteArray("1\r\n") << true << true << QByteArray("0\n");
    QTest::newRow("7 stays shown") << QByteArray("  7 maps\n") << false << true << QByteArray("1\n");
    QTest::newRow("calling hours kept") << QByteArray("1\ncalling-hours 09:00-20:00\n") << false
                                        << true << QByteArray("1\ncalling-hours 09:00-20:00\n");
  }

  void settingDecidesTheStartAndTheEndIsWritten() {
    QFETCH(QByteArray, setting);
    QFETCH(bool, click);
    QFETCH(bool, shown);
    QFETCH(QByteArray, written);
    if (!setting.isNull()) WriteBytes("tqs.ini", setting.toStdString());
    bool checked = !shown;
    int showMaps = -1, clientWidth = 0;
    RunApp([&](tq::CLookupDlg& dialog) {
      auto* check = dialog.findChild<QCheckBox*>("chkShowMaps");
      checked = check->isChecked();
      showMaps = dialog.GetShowMaps();
      clientWidth = dialog.findChild<QWidget*>("client")->width();
      if (click) QTest::mouseClick(check, Qt::LeftButton);
    });
    QCOMPARE(checked, shown);
    QCOMPARE(showMaps, shown ? 1 : 0);
    QCOMPARE(clientWidth, shown ? tq::kClientWidthMapsShown : tq::kClientWidthMapsHidden);
    std::ifstream in("tqs.ini", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    QCOMPARE(text.str(), written.toStdString());
  }

 private:
  // Runs the application; once its window is up, `look` sees it, then it is closed.
  void RunApp(const std::function<void(tq::CLookupDlg&)>& look) {
    QTimer::singleShot(0, this, [look] {
      auto* dialog = qobject_cast<tq::CLookupDlg*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      look(*dialog);
      QTest::keyClick(dialog, Qt::Key_Escape);
    });
    tq::CLookupApp app;
    app.InitInstance();
  }

  std::unique_ptr<SampleDataFolder> data;
};

QTEST_MAIN(LookupAppTest)
#include "lookup_app_test.moc"
