#include "app/LookupApp.h"

#include <cstdio>
#include <utility>

#include "data/Text.h"

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
  std::string why;
  if (!WriteShowMapsSetting(settingsFile, iShowMaps, &why)) {
    std::fprintf(stderr, "telquest: %s.\n", Cp1252ToDisplayUtf8(Utf8ToCp1252(why)).c_str());
  }
}

}  // namespace tq
