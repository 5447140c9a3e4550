#include "app/LookupApp.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <utility>

#include "app/AboutDlg.h"
#include "app/AppIcon.h"
#include "app/HelpWindow.h"
#include "app/SingleInstance.h"
#include "base/Text.h"
#include "lookup/LookupDlg.h"

namespace tq {

void AttachShell(CLookupDlg& dialog) {
  dialog.setWindowIcon(AppIcon());
  QObject::connect(&dialog, &CLookupDlg::aboutRequested, &dialog, [&dialog] {
    CAboutDlg about(&dialog);
    about.exec();
  });
  QObject::connect(&dialog, &CLookupDlg::helpRequested, &dialog, [&dialog] {
    auto* help = dialog.findChild<CHelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!help) help = new CHelpWindow(&dialog);
    help->show();
    help->raise();
    help->activateWindow();
  });
  QObject::connect(&dialog, &QDialog::finished, &dialog, [&dialog] {
    if (auto* help = dialog.findChild<CHelpWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
      help->close();
    }
  });
}

CLookupApp::CLookupApp(std::filesystem::path settingsFile)
    : settingsFile(std::move(settingsFile)) {}

void AttachSingleInstance(CLookupDlg& dialog, SingleInstance& instance) {
  QObject::connect(&instance, &SingleInstance::searchRequested, &dialog,
                   [&dialog](const QString& query) { TakeHandedQuery(dialog, query); });
}

void TakeHandedQuery(CLookupDlg& dialog, const QString& query) {
  dialog.showNormal();
  dialog.raise();
  dialog.activateWindow();
  // A city choice or another dialog open over the window is answered first:
  // the query waits for it.
  QWidget* modal = QApplication::activeModalWidget();
  if (modal && modal != &dialog) {
    modal->raise();
    modal->activateWindow();
    constexpr int kRetryMs = 250;
    QTimer::singleShot(kRetryMs, &dialog, [&dialog, query] { TakeHandedQuery(dialog, query); });
    return;
  }
  if (!query.isEmpty()) dialog.SearchFor(query);
}

void CLookupApp::InitInstance(const QString& query) {
  SingleInstance instance;
  if (!instance.Owned() && SingleInstance::HandOver(query)) return;  // the running window has it
  iShowMaps = ReadShowMapsSetting(settingsFile);
  std::optional<CallingHours> callingHours = ReadCallingHoursSetting(settingsFile);
  {
    CLookupDlg dialog(iShowMaps);
    AttachShell(dialog);
    AttachSingleInstance(dialog, instance);
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
