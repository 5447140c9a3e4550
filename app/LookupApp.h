#pragma once
// The application: reads the show-maps setting (and the calling hours, when
// set) from "tqs.ini", runs the lookup window until it closes and writes the
// settings back.

#include <QString>
#include <filesystem>

#include "app/Settings.h"

namespace tq {

class CLookupDlg;
class SingleInstance;

// The shell around a lookup window: the program's icon, the about box and the
// help window (closed with the lookup window).
void AttachShell(CLookupDlg& dialog);
// The queries that later starts hand over: each brings the window to the
// front and is searched there (once a dialog open over it is closed).
void AttachSingleInstance(CLookupDlg& dialog, SingleInstance& instance);
void TakeHandedQuery(CLookupDlg& dialog, const QString& query);

class CLookupApp {
 public:
  explicit CLookupApp(std::filesystem::path settingsFile = kSettingsFileName);

  // The whole run: read the setting, show the lookup window until it is
  // closed (searching `query` as it opens, unless empty), keep the map state
  // it ends with, write the setting. When a window of this session already
  // runs, it is given `query` instead, and nothing else is done.
  void InitInstance(const QString& query = QString());

  int GetShowMaps() const { return iShowMaps; }
  void SetShowMaps(int showMaps) { iShowMaps = showMaps; }

 private:
  std::filesystem::path settingsFile;
  int iShowMaps = 0;
};

}  // namespace tq
