#pragma once
// What the window tests share: a current directory that holds the sample
// data (the program reads its files from there), and ways into the controls
// of the lookup window.

#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QImage>
#include <QPoint>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/LookupApp.h"
#include "lookup/LookupDlg.h"
#include "support/TestData.h"

namespace tq::test {

// A fresh folder with the sample data (and `extraCities`) as the current
// directory, until the object goes.
class SampleDataFolder {
 public:
  explicit SampleDataFolder(const std::vector<CityFixture>& extraCities = {});
  ~SampleDataFolder();
  SampleDataFolder(const SampleDataFolder&) = delete;
  SampleDataFolder& operator=(const SampleDataFolder&) = delete;

 private:
  TempDir folder_;
  std::filesystem::path previous_;
};

// A fresh folder with copies of the data files of `source` as the current
// directory, until the object goes.
class ShippedDataFolder {
 public:
  explicit ShippedDataFolder(const std::filesystem::path& source);
  ~ShippedDataFolder();
  ShippedDataFolder(const ShippedDataFolder&) = delete;
  ShippedDataFolder& operator=(const ShippedDataFolder&) = delete;
  const std::filesystem::path& Path() const { return folder_.path(); }

 private:
  TempDir folder_;
  std::filesystem::path previous_;
};

// The user's font at `pixels` (the windows made after it follow it).
void SetUserFontPixels(int pixels);

// The lookup window (maps shown) over its own sample data folder, with the
// user's font at the layout's own 10 pixels, so that client pixels are
// template pixels.
class SampleDataHolder {
 protected:
  explicit SampleDataHolder(const std::vector<CityFixture>& extraCities) : data_(extraCities) {
    SetUserFontPixels(10);
  }
  SampleDataFolder data_;
};

class SampleWindow : private SampleDataHolder, public CLookupDlg {
 public:
  explicit SampleWindow(const std::vector<CityFixture>& extraCities = {})
      : SampleDataHolder(extraCities), CLookupDlg(1) {
    AttachShell(*this);
  }
};

// Shows a SampleWindow; null if it never got exposed.
std::unique_ptr<SampleWindow> OpenSampleWindow(const std::vector<CityFixture>& extraCities = {});

QStringList ListTexts(const QListWidget* list);
QListWidget* List(const CLookupDlg& dialog, const char* name);
QString LabelText(const CLookupDlg& dialog, const char* name);
QString QueryText(const CLookupDlg& dialog);

// Types `text` key by key over what the input field holds, then Enter.
void TypeAndEnter(CLookupDlg& dialog, const QString& text);

// A click that selects the entry `text` of `list`, then a double-click.
void DoubleClickEntry(QListWidget* list, const QString& text);

// A left click at client pixel `at`, delivered to whatever lies there.
void ClickWindowAt(CLookupDlg& dialog, QPoint at);

// The client area as it is painted, one image pixel per client pixel.
QImage GrabClient(const CLookupDlg& dialog);

}  // namespace tq::test
