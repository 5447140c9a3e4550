#include "app/LookupApp.h"

#include <QTimer>
#include <utility>

#include "lookup/LookupDlg.h"

namespace tq {

CLookupApp::CLookupApp(std::filesystem::path settingsFile)
    : settingsFile(std::move(settingsFile)) {}

void CLookupApp::InitInstance(const QString& query) {
  iShowMaps = ReadShowMapsSetting(settingsFile);
  std::optional<CallingHours> callingHours = ReadCallingHoursSetting(settingsFile);
  {
    CLookupDlg dialog(iShowMaps);
    if (callingHours) dialog.SetCallingHours(*callingHours);
    if (!query.isEmpty()) {
      // Once the window is up, so that a city choice opens over it.
      QTimer::singleShot(0, &dialog, [&dialog, query] { dialog.SearchFor(query); });
    }
    dialog.exec();
    SetShowMaps(dialog.GetShowMaps());
    // The line is written once the hours differ from the default.
    if (callingHours || dialog.GetCallingHours() != CallingHours{}) {
      callingHours = dialog.GetCallingHours();
    }
  }
  WriteShowMapsSetting(settingsFile, iShowMaps, callingHours);
}

}  // namespace tq
