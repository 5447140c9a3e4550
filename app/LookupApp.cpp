#include "app/LookupApp.h"

#include <QTimer>
#include <cstdio>
#include <utility>

#include "data/Text.h"
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
  std::string why;
  if (!WriteShowMapsSetting(settingsFile, iShowMaps, callingHours, &why)) {
    std::fprintf(stderr, "telquest: %s.\n", Cp1252ToDisplayUtf8(Utf8ToCp1252(why)).c_str());
  }
}

}  // namespace tq
