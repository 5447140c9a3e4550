#include "app/LookupApp.h"

#include <utility>

#include "lookup/LookupDlg.h"

namespace tq {

CLookupApp::CLookupApp(std::filesystem::path settingsFile)
    : settingsFile(std::move(settingsFile)) {}

void CLookupApp::InitInstance() {
  iShowMaps = ReadShowMapsSetting(settingsFile);
  std::optional<CallingHours> callingHours = ReadCallingHoursSetting(settingsFile);
  {
    CLookupDlg dialog(iShowMaps);
    if (callingHours) dialog.SetCallingHours(*callingHours);
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
