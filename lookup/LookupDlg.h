#pragma once
// "Telquest Pro", the lookup window: an input field, five result lists, the
// map, and under them a status line (local times, the exchange, data
// problems) that follows the minute. Every answer is the tq::Answer of
// tq::SearchFlow; the window shows its lists, headings and status text in
// its controls and paints the map of the state or province found.

#include <QDialog>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <vector>

#include "lookup/CityPickDlg.h"
#include "lookup/SearchFlow.h"
#include "lookup/WaitCursor.h"
#include "map/HitTest.h"
#include "names/PlaceCompletion.h"

class QAction;
class QCheckBox;
class QFrame;
class QPlainTextEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPainter;
class QPushButton;

namespace tq {

class CLookupDlg : public QDialog {
  Q_OBJECT

 public:
  // `showMapsSetting`: the stored setting, nonzero to start with the maps.
  // The data files are read from the current directory.
  explicit CLookupDlg(int showMapsSetting, QWidget* parent = nullptr);
  ~CLookupDlg() override;

  // 1 while the map area is shown, else 0.
  int GetShowMaps() const { return bShowMaps; }
  const SearchFlow& Flow() const { return flow; }
  // The local hours in which a place may be called (Edit, Calling Hours).
  void SetCallingHours(const CallingHours& hours);
  CallingHours GetCallingHours() const { return flow.GetCallingHours(); }
  // Asks for new calling hours and shows the answer with them.
  void OnCallingHours();
  // The clock of the status line (seconds since 1970, UTC); shows it anew.
  void SetClock(std::function<std::int64_t()> nowUtc);

  // The search of the text in the input field (Enter, the Search button).
 signals:
  // Help, Contents (F1) and Help, About: the application shell answers them.
  void helpRequested();
  void aboutRequested();

 public:
  void OnOK();
  // `text` put into the input field and searched.
  void SearchFor(const QString& text);
  // Switches the map area on or off (the "Show maps" check box).
  void OnShowMaps();
  // A left click on the window's own area at client pixel `point`.
  void OnLButtonDown(const QPoint& point);
  // Paints the map area onto the client area.
  void OnPaint(QPainter& painter);
  // Puts the controls where the client area's size has them.
  void LayOut();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The window scale: the user's font's, less where the window would then
  // not fit the primary screen.
  static double ScaleThatFits(bool showMaps);
  void CreateControls();
  void CreateStatusArea();
  void CreateMenu();
  void OnInitDialog(int showMapsSetting);
  void OnDblclkAreaCodes();
  void OnDblclkLargestCity();
  void OnDblclkMajorCities();
  // A double-click follow-up of the flow on the selected entry of `list`.
  void FollowUp(bool (SearchFlow::*followUp)(int), const QListWidget* list);
  // Edit, Copy: the selected entry of the result list with the focus, or
  // the selected text of the input field.
  void OnEditCopy();
  // Edit, Copy Answer: the whole answer as tqlookup prints it.
  void OnEditCopyAnswer();
  // The selected entry of `list` to the clipboard; nothing when none is.
  void CopyEntryOf(const QListWidget* list);
  // Copy and Copy Answer, for the entry at `at` of `list`; on the major
  // cities, also the full list.
  void OnListContextMenu(QListWidget* list, const QPoint& at);
  // Edit, Show All Places: the major cities list shows every place of the
  // answer, or the major cities again.
  void OnShowAllPlaces();
  // The major cities, or every place, as bShowAllPlaces says.
  void ShowPlacesList();
  // A suggestion taken (Enter on it, a click): it becomes the input, searched.
  void TakeSuggestion(const QString& text);
  // The client area's size at the window scale when the window has its
  // default size.
  QSize DefaultClientSize() const;
  void FitToScreen();
  // Moves the window back within the screen's available area when a wider
  // layout took it past an edge.
  void KeepOnScreen();
  // The context menu of the control with the focus, opened by a key; false
  // when that control has none.
  bool OpenContextMenu();
  // Enter on a result list: looks up its current entry, as a double-click
  // does; false when the focus is on no such entry.
  bool FollowCurrentEntry();
  void ShowHeadings();
  void DescribeControls();
  // The input field into the flow, and the flow's answer into the controls.
  void ReadQuery();
  void ShowResults();
  void FocusQuery();
  // The status line anew, and the timer set for the next minute.
  void UpdateStatus();

  // How a control follows a window larger than its default size.
  enum Anchor { kMoveRight = 1, kMoveDown = 2, kGrowWidth = 4, kGrowHeight = 8 };
  struct Placement {
    QWidget* widget;
    QRect base;    // at a scale of 1, maps shown
    QRect hidden;  // at a scale of 1, maps hidden
    int anchors;
  };

  WaitCursor waitCursor;
  CCityPickChooser cityChooser;
  SearchFlow flow;
  ClickPointTable clickPoints;
  PlaceCompletion placeCompletion;
  int bShowMaps = 0;
  bool bInitializing = true;
  bool bShowAllPlaces = false;  // the answer's full list in listMajorCities

  QMenuBar* menuBar = nullptr;
  QAction* actShowAllPlaces = nullptr;
  QWidget* client = nullptr;
  QGroupBox* grpTimeZone = nullptr;
  QListWidget* listTimeZone = nullptr;
  QLabel* lblStateOrProvince = nullptr;
  QPushButton* btnSearch = nullptr;
  QGroupBox* grpResults = nullptr;
  QGroupBox* grpSearch = nullptr;
  QListWidget* listStateOrProvince = nullptr;
  QCheckBox* chkShowMaps = nullptr;
  QLabel* lblMapHint = nullptr;
  QLabel* lblTimeZone = nullptr;
  QLabel* lblSymbolLegend = nullptr;
  QLabel* lblLargestCity = nullptr;
  QLabel* lblAreaCodes = nullptr;
  QLabel* lblMajorCities = nullptr;
  QLineEdit* editQuery = nullptr;
  QListWidget* listLargestCity = nullptr;
  QListWidget* listMajorCities = nullptr;
  QListWidget* listAreaCodes = nullptr;
  QFrame* statusBar = nullptr;
  QPlainTextEdit* editStatus = nullptr;
  class Announcer* announcer = nullptr;
  class SuggestionList* suggestionList = nullptr;
  std::vector<Placement> placements;
  // How far the map area lies right of its place in the default layout, and
  // how far the controls under the lists lie below theirs.
  QPoint mapShift;
  QTimer statusTimer;
  std::function<std::int64_t()> nowUtc_ = UtcNow;
};

}  // namespace tq
