#include "GuiTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "lookup/LookupDlg.h"

namespace tq::test {

SampleDataFolder::SampleDataFolder(const std::vector<CityFixture>& extraCities)
    : previous_(std::filesystem::current_path()) {
  std::vector<CityFixture> cities = SampleCities();
  cities.insert(cities.end(), extraCities.begin(), extraCities.end());
  WriteDataFiles(folder_.path(), cities);
  WriteBytes(folder_ / "exc.bin", kSampleExchanges);
  std::filesystem::current_path(folder_.path());
}

SampleDataFolder::~SampleDataFolder() { std::filesystem::current_path(previous_); }

ShippedDataFolder::ShippedDataFolder(const std::filesystem::path& source)
    : previous_(std::filesystem::current_path()) {
  for (const auto& file : std::filesystem::directory_iterator(source)) {
    const std::string name = file.path().filename().string();
    if (name.ends_with(".bin") || name == "tqdata.manifest") {
      std::filesystem::copy_file(file.path(), folder_ / name);
    }
  }
  std::filesystem::current_path(folder_.path());
}

ShippedDataFolder::~ShippedDataFolder() { std::filesystem::current_path(previous_); }

void SetUserFontPixels(int pixels) {
  QFont font = QApplication::font();
  font.setPixelSize(pixels);
  QApplication::setFont(font);
}

std::unique_ptr<SampleWindow> OpenSampleWindow(const std::vector<CityFixture>& extraCities) {
  auto window = std::make_unique<SampleWindow>(extraCities);
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
  return window;
}

QStringList ListTexts(const QListWidget* list) {
  QStringList texts;
  for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
  return texts;
}

QListWidget* List(const CLookupDlg& dialog, const char* name) {
  return dialog.findChild<QListWidget*>(QLatin1String(name));
}

QString LabelText(const CLookupDlg& dialog, const char* name) {
  return dialog.findChild<QLabel*>(QLatin1String(name))->text().remove(QLatin1Char('&'));
}

QString QueryText(const CLookupDlg& dialog) {
  return dialog.findChild<QLineEdit*>(QStringLiteral("editQuery"))->text();
}

void TypeAndEnter(CLookupDlg& dialog, const QString& text) {
  auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("editQuery"));
  edit->setFocus();
  edit->selectAll();
  // Key by key, as a keyboard sends them: each key press carries its text,
  // accented letters included.
  for (const QChar ch : text) {
    const auto key = static_cast<Qt::Key>(ch.toUpper().unicode());
    QTest::sendKeyEvent(QTest::Click, edit, key, QString(ch), Qt::NoModifier);
  }
  QTest::keyClick(edit, Qt::Key_Return);
}

void DoubleClickEntry(QListWidget* list, const QString& text) {
  const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
  if (found.isEmpty()) return;
  const QPoint at = list->visualItemRect(found.first()).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void ClickWindowAt(CLookupDlg& dialog, QPoint at) {
  const QWidget* client = dialog.findChild<QWidget*>(QStringLiteral("client"));
  QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    client->mapTo(&dialog, at));
}

QImage GrabClient(const CLookupDlg& dialog) {
  QWidget* client = dialog.findChild<QWidget*>(QStringLiteral("client"));
  return client->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace tq::test
