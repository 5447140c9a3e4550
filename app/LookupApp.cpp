#include "app/LookupApp.h"

#include <utility>

#include "lookup/LookupDlg.h"

namespace tq {

CLookupApp::CLookupApp(std::filesystem::path settingsFile)
    : settingsFile(std::move(settingsFile)) {}

void CLookupApp::InitInstance() {
  iShowMaps = ReadShowMapsSetting(settingsFile);
  {
    CLookupDlg dialog(iShowMaps);
    dialog.exec();
    SetShowMaps(dialog.GetShowMaps());
  }
  WriteShowMapsSetting(settingsFile, iShowMaps);
}

}  // namespace tq
