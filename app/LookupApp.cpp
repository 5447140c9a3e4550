#include "app/LookupApp.h"

#include <QTimer>
#include <utility>

#include "lookup/LookupDlg.h"

namespace tq {

CLookupApp::CLookupApp(std::filesystem::path settingsFile)
    : settingsFile(std::move(settingsFile)) {}

void CLookupApp::InitInstance(const QString& query) {
  iShowMaps = ReadShowMapsSetting(settingsFile);
  {
    CLookupDlg dialog(iShowMaps);
    if (!query.isEmpty()) {
      // Once the window is up, so that a city choice opens over it.
      QTimer::singleShot(0, &dialog, [&dialog, query] { dialog.SearchFor(query); });
    }
    dialog.exec();
    SetShowMaps(dialog.GetShowMaps());
  }
  WriteShowMapsSetting(settingsFile, iShowMaps);
}

}  // namespace tq
