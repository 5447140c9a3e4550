#include "lookup/LookupDlg.h"

#include <algorithm>
#include <cmath>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "lookup/Announcer.h"
#include "lookup/CallingHoursDlg.h"
#include "lookup/AnswerText.h"
#include "lookup/DialogFont.h"
#include "lookup/DialogUnits.h"
#include "lookup/QtText.h"
#include "lookup/SuggestionList.h"
#include "map/CitySymbols.h"
#include "map/MapLayout.h"
#include "map/MapPainter.h"

namespace tq {
namespace {

// The client area at a window scale of 1, maps shown.
constexpr int kClientHeight = DialogUnitsToPixelsY(230);

// A rectangle in dialog units as pixels at a window scale of 1.
constexpr QRect BaseRect(int x, int y, int width, int height) {
  return QRect(DialogUnitsToPixelsX(x), DialogUnitsToPixelsY(y), DialogUnitsToPixelsX(width),
               DialogUnitsToPixelsY(height));
}

// Where the search controls go when the map area is hidden, at a scale of 1
// (shown, they lie at their template rectangles).
constexpr QRect kSearchGroupMapsHidden{11, 11, 305, 102};
constexpr QRect kQueryMapsHidden{20, 50, 286, 20};
constexpr QRect kSearchButtonMapsHidden{231, 76, 75, 23};

// The lines of text the status area always has room for.
constexpr int kStatusLines = 3;

// The area below the menu bar: the controls lie on it, the map is painted
// onto it, and clicks that no control takes arrive here. Its size is the
// window's less the menu and the status area; each new size lays it out.
class ClientArea : public QWidget {
 public:
  explicit ClientArea(CLookupDlg& dialog) : QWidget(&dialog), dialog_(dialog) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  }
  QSize sizeHint() const override { return defaultSize_; }
  void SetDefaultSize(QSize size) {
    defaultSize_ = size;
    updateGeometry();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    dialog_.OnPaint(painter);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) dialog_.OnLButtonDown(event->position().toPoint());
    QWidget::mousePressEvent(event);
  }
  void resizeEvent(QResizeEvent*) override { dialog_.LayOut(); }

 private:
  CLookupDlg& dialog_;
  QSize defaultSize_;
};

// Labels and group boxes let the mouse through to the window, as the map
// clicks need. A label's mnemonic moves the focus to its `buddy`.
QLabel* AddLabel(QWidget* parent, const char* name, const QString& text,
                 QWidget* buddy = nullptr) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setTextFormat(Qt::PlainText);
  label->setBuddy(buddy);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

QGroupBox* AddGroupBox(QWidget* parent, const char* name, const QString& title) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(QLatin1String(name));
  group->setAttribute(Qt::WA_TransparentForMouseEvents);
  group->setFocusPolicy(Qt::NoFocus);
  return group;
}

enum class ListKind { kScrolling, kOneLine };

QListWidget* AddList(QWidget* parent, const char* name, ListKind kind) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QLatin1String(name));
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  if (kind == ListKind::kOneLine) list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return list;
}

void FillList(QListWidget* widget, const std::vector<std::string>& entries) {
  widget->clear();
  for (const std::string& entry : entries) widget->addItem(ToQString(entry));
}

// A heading and the accessible name of the control it stands above, which
// is the heading without its mnemonic mark and colon.
void SetHeading(QLabel* label, const QString& text) {
  label->setText(text);
  QString name = text;
  name.remove(QLatin1Char('&'));
  if (name.endsWith(QLatin1Char(':'))) name.chop(1);
  label->buddy()->setAccessibleName(name);
}

// A heading with its mnemonic mark before the letter at `at`.
QString Mnemonic(const std::string& heading, int at = 0) {
  return ToQString(heading).insert(at, QLatin1Char('&'));
}

// The status area is a status bar to assistive technology.
QAccessibleInterface* StatusBarAccessible(const QString& className, QObject* object) {
  if (className != QLatin1String("QFrame") || object->objectName() != QLatin1String("statusBar")) {
    return nullptr;
  }
  return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::StatusBar);
}

std::vector<std::string> ListTexts(const QListWidget* list) {
  std::vector<std::string> texts;
  for (int row = 0; row < list->count(); ++row) texts.push_back(FromQString(list->item(row)->text()));
  return texts;
}

int SelectedRow(const QListWidget* list) {
  const QList<QListWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? -1 : list->row(selected.first());
}

}  // namespace

CLookupDlg::CLookupDlg(int showMapsSetting, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      cityChooser(this),
      flow({}, cityChooser, &waitCursor),
      clickPoints(MakeClickPoints()) {
  setWindowTitle(QStringLiteral("Telquest Pro"));
  SetWindowScale(ScaleThatFits(showMapsSetting != 0));
  setFont(DialogFont());
  setSizeGripEnabled(true);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  CreateMenu();
  layout->setMenuBar(menuBar);
  client = new ClientArea(*this);
  client->setObjectName(QStringLiteral("client"));
  layout->addWidget(client, 1);
  CreateControls();
  CreateStatusArea();
  layout->addWidget(statusBar);
  announcer = new Announcer(this);
  statusTimer.setSingleShot(true);
  connect(&statusTimer, &QTimer::timeout, this, [this] { UpdateStatus(); });

  OnInitDialog(showMapsSetting);
}

double CLookupDlg::ScaleThatFits(bool showMaps) {
  // What the window system and the menu add round the client area and the
  // status area, at a scale of 1, with room to spare.
  constexpr QSize kFrameAndMenu(16, 72);
  const QSize atOne = QSize(showMaps ? kClientWidthMapsShown : kClientWidthMapsHidden,
                            kClientHeight + kStatusLines * 13) + kFrameAndMenu;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return UserFontScale();
  const QRect available = screen->availableGeometry();
  const double fits = std::min(static_cast<double>(available.width()) / atOne.width(),
                               static_cast<double>(available.height()) / atOne.height());
  return std::min(UserFontScale(), fits);
}

// Below the client area, as wide as the window, a steady kStatusLines lines
// high: a read-only text that Tab and Edit, Go to Status Line reach, which
// scrolls when an answer says more.
void CLookupDlg::CreateStatusArea() {
  static const bool accessibleFactory = (QAccessible::installFactory(StatusBarAccessible), true);
  (void)accessibleFactory;
  statusBar = new QFrame(this);
  statusBar->setObjectName(QStringLiteral("statusBar"));
  statusBar->setAccessibleName(QStringLiteral("Status"));
  auto* statusLayout = new QVBoxLayout(statusBar);
  statusLayout->setContentsMargins(Scaled(DialogUnitsToPixelsX(7)) - 4, Scaled(2), 0, Scaled(3));
  editStatus = new QPlainTextEdit(statusBar);
  editStatus->setObjectName(QStringLiteral("editStatus"));
  editStatus->setReadOnly(true);
  editStatus->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  editStatus->setFocusPolicy(Qt::StrongFocus);
  editStatus->setFrameShape(QFrame::NoFrame);
  editStatus->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  editStatus->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  editStatus->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  editStatus->setTabChangesFocus(true);
  editStatus->setAccessibleName(QStringLiteral("Status"));
  QPalette palette = editStatus->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  editStatus->setPalette(palette);
  const int textHeight = kStatusLines * editStatus->fontMetrics().lineSpacing() +
                         2 * static_cast<int>(editStatus->document()->documentMargin());
  editStatus->setFixedHeight(textHeight);
  statusLayout->addWidget(editStatus);
  statusBar->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

CLookupDlg::~CLookupDlg() = default;

void CLookupDlg::CreateMenu() {
  menuBar = new QMenuBar(this);
  QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q), this,
                  &QDialog::reject);
  // Alt+E belongs to the input field's label.
  QMenu* edit = menuBar->addMenu(QStringLiteral("E&dit"));
  edit->addAction(QStringLiteral("&Copy"), QKeySequence::Copy, this, &CLookupDlg::OnEditCopy);
  edit->addAction(QStringLiteral("Copy &Answer"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
                  this, &CLookupDlg::OnEditCopyAnswer);
  edit->addAction(QStringLiteral("&Go to Search Field"), QKeySequence(Qt::CTRL | Qt::Key_L), this,
                  &CLookupDlg::FocusQuery);
  edit->addAction(QStringLiteral("Go to S&tatus Line"), QKeySequence(Qt::Key_F6), this,
                  [this] { editStatus->setFocus(Qt::ShortcutFocusReason); });
  edit->addAction(QStringLiteral("Calling &Hours..."), this, &CLookupDlg::OnCallingHours);
  edit->addSeparator();
  actShowAllPlaces = edit->addAction(QStringLiteral("Show A&ll Places"),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A), this,
                                     &CLookupDlg::OnShowAllPlaces);
  actShowAllPlaces->setCheckable(true);
  actShowAllPlaces->setEnabled(false);
  QMenu* help = menuBar->addMenu(QStringLiteral("&Help"));
  help->addAction(QStringLiteral("&Contents..."), QKeySequence(Qt::Key_F1), this,
                  &CLookupDlg::helpRequested);
  help->addAction(QStringLiteral("&About..."), this, &CLookupDlg::aboutRequested);
  // The popups are windows of their own and take no font from the window.
  for (QMenu* menu : {file, edit, help}) menu->setFont(DialogFont());
}

// In the order of tabbing, which is the order of creation. Each control
// has its template rectangle and says how it follows a window larger than
// its default size: the lists grow, what lies below them moves down, and
// the map area moves right.
void CLookupDlg::CreateControls() {
  // At the template rectangle `base` (pixels at a scale of 1), or `hidden`
  // with the maps hidden when that differs.
  const auto add = [this](QWidget* widget, QRect base, int anchors, QRect hidden = QRect()) {
    placements.push_back({widget, base, hidden.isNull() ? base : hidden, anchors});
  };
  grpSearch = AddGroupBox(client, "grpSearch", QStringLiteral("Search"));
  add(grpSearch, BaseRect(7, 7, 162, 63), kGrowWidth, kSearchGroupMapsHidden);
  editQuery = new QLineEdit(client);
  editQuery->setObjectName(QStringLiteral("editQuery"));
  editQuery->setPlaceholderText(QStringLiteral("Area code, phone number or town"));
  editQuery->installEventFilter(this);
  add(editQuery, BaseRect(13, 31, 149, 12), kGrowWidth, kQueryMapsHidden);
  QLabel* lblQuery = AddLabel(client, "lblQuery", QString(), editQuery);
  SetHeading(lblQuery, QStringLiteral("&Enter area code or city, state:"));
  add(lblQuery, BaseRect(13, 19, 94, 8), 0);
  btnSearch = new QPushButton(QStringLiteral("&Search"), client);
  btnSearch->setObjectName(QStringLiteral("btnSearch"));
  btnSearch->setAutoDefault(false);
  add(btnSearch, BaseRect(112, 47, 50, 14), kMoveRight, kSearchButtonMapsHidden);
  chkShowMaps = new QCheckBox(QStringLiteral("&Show maps"), client);
  chkShowMaps->setObjectName(QStringLiteral("chkShowMaps"));
  add(chkShowMaps, BaseRect(13, 50, 53, 10), 0);

  grpResults = AddGroupBox(client, "grpResults", QStringLiteral("Results"));
  add(grpResults, BaseRect(7, 73, 203, 150), kGrowWidth | kGrowHeight);
  listAreaCodes = AddList(client, "listAreaCodes", ListKind::kScrolling);
  add(listAreaCodes, BaseRect(13, 97, 52, 90), kGrowHeight);
  lblAreaCodes = AddLabel(client, "lblAreaCodes", QString(), listAreaCodes);
  add(lblAreaCodes, BaseRect(13, 85, 43, 8), 0);
  listLargestCity = AddList(client, "listLargestCity", ListKind::kOneLine);
  add(listLargestCity, BaseRect(70, 97, 134, 12), kGrowWidth);
  lblLargestCity = AddLabel(client, "lblLargestCity", QString(), listLargestCity);
  add(lblLargestCity, BaseRect(70, 85, 134, 8), kGrowWidth);
  listMajorCities = AddList(client, "listMajorCities", ListKind::kScrolling);
  add(listMajorCities, BaseRect(70, 128, 134, 59), kGrowWidth | kGrowHeight);
  lblMajorCities = AddLabel(client, "lblMajorCities", QString(), listMajorCities);
  add(lblMajorCities, BaseRect(70, 116, 134, 8), kGrowWidth);
  lblMapHint = AddLabel(client, "lblMapHint",
                        QStringLiteral("[ Click center of state/province to see all of "
                                       "its area codes. ]"));
  add(lblMapHint, BaseRect(216, 177, 188, 8), kMoveRight | kMoveDown);
  listStateOrProvince = AddList(client, "listStateOrProvince", ListKind::kOneLine);
  add(listStateOrProvince, BaseRect(13, 203, 191, 12), kMoveDown | kGrowWidth);
  lblStateOrProvince = AddLabel(client, "lblStateOrProvince", QString(), listStateOrProvince);
  add(lblStateOrProvince, BaseRect(13, 191, 57, 8), kMoveDown);
  SetHeading(lblStateOrProvince, Mnemonic(kStateOrProvinceHeading, 9));  // Alt+P
  listTimeZone = AddList(client, "listTimeZone", ListKind::kOneLine);
  add(listTimeZone, BaseRect(311, 203, 176, 12), kMoveRight | kMoveDown);
  lblTimeZone = AddLabel(client, "lblTimeZone", QString(), listTimeZone);
  add(lblTimeZone, BaseRect(224, 204, 79, 8), kMoveRight | kMoveDown);
  SetHeading(lblTimeZone, Mnemonic(kTimeZoneHeading, 5));  // Alt+Z
  grpTimeZone = AddGroupBox(client, "grpTimeZone", QString());
  add(grpTimeZone, BaseRect(216, 190, 282, 33), kMoveRight | kMoveDown);
  lblSymbolLegend = AddLabel(client, "lblSymbolLegend", QStringLiteral("Largest city symbol:"));
  add(lblSymbolLegend, BaseRect(419, 177, 62, 8), kMoveRight | kMoveDown);
  ShowHeadings();
  DescribeControls();

  // Suggestions under the input field; Enter on typed text searches that
  // text as before.
  suggestionList = new SuggestionList(editQuery, client, [this](const QString& text) {
    QStringList shown;
    for (const std::string& place : placeCompletion.Suggest(FromQString(text))) {
      shown << ToQString(place);
    }
    // A ZIP or postal code suggests its place.
    if (const std::string place = flow.PlaceOfCode(FromQString(text)); !place.empty()) {
      shown << ToQString(place);
    }
    return shown;
  });
  suggestionList->setFont(DialogFont());
  connect(suggestionList, &SuggestionList::taken, this, &CLookupDlg::TakeSuggestion);

  connect(btnSearch, &QPushButton::clicked, this, &CLookupDlg::OnOK);
  // The check box's state, however it changed (a click, a key, a screen
  // reader's toggle action), decides the map area.
  connect(chkShowMaps, &QCheckBox::toggled, this, [this](bool checked) {
    if (checked != (bShowMaps != 0)) OnShowMaps();
  });
  connect(listAreaCodes, &QListWidget::itemDoubleClicked, this, &CLookupDlg::OnDblclkAreaCodes);
  connect(listLargestCity, &QListWidget::itemDoubleClicked, this,
          &CLookupDlg::OnDblclkLargestCity);
  connect(listMajorCities, &QListWidget::itemDoubleClicked, this,
          &CLookupDlg::OnDblclkMajorCities);
  for (QListWidget* list :
       {listAreaCodes, listLargestCity, listMajorCities, listStateOrProvince, listTimeZone}) {
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this,
            [this, list](const QPoint& at) { OnListContextMenu(list, at); });
  }
}

// What the headings alone leave unclear to someone who cannot see the window.
void CLookupDlg::DescribeControls() {
  const QString follow = QStringLiteral(" Enter or a double-click looks up the selected entry.");
  listAreaCodes->setAccessibleDescription(QStringLiteral("The area codes found.") + follow);
  listLargestCity->setAccessibleDescription(
      QStringLiteral("One entry: the most populous city, or why nothing was found.") + follow);
  listMajorCities->setAccessibleDescription(
      QStringLiteral("The major cities served; Edit, Show All Places (Ctrl+Shift+A) lists every "
                     "place.") +
      follow);
  listStateOrProvince->setAccessibleDescription(
      QStringLiteral("One entry: the state or province of the answer."));
  listTimeZone->setAccessibleDescription(
      QStringLiteral("One entry: the time zone and its difference from Eastern time."));
  lblMapHint->setAccessibleDescription(
      QStringLiteral("The map takes mouse clicks only; typing a comma and a state or province "
                     "code, as \", OH\", lists the same area codes."));
}

void CLookupDlg::ShowHeadings() {
  const Answer& answer = flow.GetAnswer();
  SetHeading(lblAreaCodes, Mnemonic(answer.areaCodes.heading));
  SetHeading(lblLargestCity, Mnemonic(answer.largestCity.heading));
  // The full list keeps the letter of the major cities' heading (Alt+M)
  // where its words have one, else takes the letter c.
  const std::string& places = bShowAllPlaces ? answer.allPlacesHeading : answer.majorCities.heading;
  const std::size_t m = places.find_first_of("Mm");
  SetHeading(lblMajorCities, Mnemonic(places, m != std::string::npos ? static_cast<int>(m)
                                                                     : static_cast<int>(places.find('c'))));
}

void CLookupDlg::OnInitDialog(int showMapsSetting) {
  chkShowMaps->setChecked(showMapsSetting != 0);
  bShowMaps = showMapsSetting == 0 ? 1 : 0;
  OnShowMaps();  // flips bShowMaps back and lays the window out
  flow.OpenData();
  placeCompletion.Build(flow.Cities().CityNames(), flow.Cities().States(),
                        flow.Cities().Populations());
  bInitializing = false;
  UpdateStatus();
}

void CLookupDlg::SetCallingHours(const CallingHours& hours) {
  flow.SetCallingHours(hours);
  // The answer on show is made anew with them (its query is already the
  // place chosen, so no choice is asked again).
  if (flow.GetAnswer().HasLists()) {
    flow.OnOK();
    ShowResults();
  }
}

void CLookupDlg::OnCallingHours() {
  CCallingHoursDlg ask(GetCallingHours(), this);
  if (ask.exec() != QDialog::Accepted || !ask.GetCallingHours()) return;
  SetCallingHours(*ask.GetCallingHours());
}

void CLookupDlg::SetClock(std::function<std::int64_t()> nowUtc) {
  nowUtc_ = std::move(nowUtc);
  flow.SetNow(nowUtc_);
  UpdateStatus();
}

void CLookupDlg::UpdateStatus() {
  const std::int64_t now = nowUtc_();
  // The time zone line follows the same instant as the status line.
  const std::vector<std::string> zoneLine = ZoneLineAt(flow.GetAnswer().times, now);
  if (ListTexts(listTimeZone) != zoneLine) FillList(listTimeZone, zoneLine);
  const QString text = ToQString(StatusText(flow.GetAnswer(), now));
  // The tool tip holds the text exactly (the document's plain text turns
  // no-break spaces into spaces).
  if (text != editStatus->toolTip()) {
    editStatus->setPlainText(text);
    editStatus->setToolTip(text);
  }
  constexpr std::int64_t kMinute = 60;
  const std::int64_t seconds = kMinute - ((now % kMinute) + kMinute) % kMinute;
  statusTimer.start(static_cast<int>(seconds * 1000));
}

void CLookupDlg::TakeSuggestion(const QString& text) { SearchFor(text); }

void CLookupDlg::SearchFor(const QString& text) {
  editQuery->setText(text);
  OnOK();
}

void CLookupDlg::OnOK() {
  suggestionList->Close();
  ReadQuery();
  flow.OnOK();
  ShowResults();
  FocusQuery();
}

void CLookupDlg::OnDblclkAreaCodes() { FollowUp(&SearchFlow::OnDblclkAreaCodes, listAreaCodes); }

void CLookupDlg::OnDblclkLargestCity() {
  FollowUp(&SearchFlow::OnDblclkLargestCity, listLargestCity);
}

void CLookupDlg::OnDblclkMajorCities() {
  FollowUp(bShowAllPlaces ? &SearchFlow::OnDblclkAllPlaces : &SearchFlow::OnDblclkMajorCities,
           listMajorCities);
}

void CLookupDlg::OnShowAllPlaces() {
  const Answer& answer = flow.GetAnswer();
  bShowAllPlaces = !bShowAllPlaces && HasUnlistedPlaces(answer);
  ShowPlacesList();
  listMajorCities->setFocus();
}

void CLookupDlg::ShowPlacesList() {
  const Answer& answer = flow.GetAnswer();
  ShowHeadings();
  FillList(listMajorCities, bShowAllPlaces ? AllPlaceEntries(answer) : answer.majorCities.entries.Texts());
  const int exchangeRow = bShowAllPlaces ? answer.exchangeRowInAll : answer.exchangeRow;
  if (exchangeRow >= 0) {
    // Marked without the selection's events: a screen reader follows those as
    // if the user had moved there, while the keyboard stays in the field.
    const QSignalBlocker quiet(listMajorCities->selectionModel());
    listMajorCities->setCurrentRow(exchangeRow);
    listMajorCities->scrollToItem(listMajorCities->item(exchangeRow));
    listMajorCities->viewport()->update();
  }
  actShowAllPlaces->setChecked(bShowAllPlaces);
  actShowAllPlaces->setEnabled(bShowAllPlaces || HasUnlistedPlaces(answer));
}

void CLookupDlg::FollowUp(bool (SearchFlow::*followUp)(int), const QListWidget* list) {
  ReadQuery();
  if ((flow.*followUp)(SelectedRow(list))) ShowResults();
  FocusQuery();
}

void CLookupDlg::OnShowMaps() {
  // A window made larger than its default keeps what it was made larger by.
  const QSize extra = client->size() - DefaultClientSize();
  const bool laidOut = isVisible();
  bShowMaps = bShowMaps ? 0 : 1;
  // What lies in the map area goes with it, so that neither Tab nor a
  // mnemonic reaches a control off the narrow window.
  for (QWidget* inMapArea : {static_cast<QWidget*>(grpTimeZone), static_cast<QWidget*>(lblMapHint),
                             static_cast<QWidget*>(lblTimeZone), static_cast<QWidget*>(listTimeZone),
                             static_cast<QWidget*>(lblSymbolLegend)}) {
    inMapArea->setVisible(bShowMaps != 0);
  }
  FitToScreen();
  layout()->activate();  // the new limits, now
  const QSize wanted = laidOut ? size() + DefaultClientSize() + extra - client->size() : sizeHint();
  resize(wanted.expandedTo(minimumSize()).boundedTo(maximumSize()));
  layout()->activate();  // the client area's new size, now
  LayOut();
  KeepOnScreen();
  FocusQuery();
  client->update();
}

QSize CLookupDlg::DefaultClientSize() const {
  return Scaled(QRect(0, 0, bShowMaps ? kClientWidthMapsShown : kClientWidthMapsHidden,
                      kClientHeight)).size();
}

// The window's limits on its screen: at its default size, or smaller with the
// maps hidden (the lists shrink to two lines and scroll), and never larger
// than the screen's available area.
void CLookupDlg::FitToScreen() {
  const QSize full = DefaultClientSize();
  QSize smallest = full;
  if (!bShowMaps) {
    const int twoLines = 2 * listMajorCities->fontMetrics().height() + 2 * listMajorCities->frameWidth();
    smallest.rheight() -= std::max(0, Scaled(BaseRect(0, 0, 0, 59).height()) - twoLines);
  }
  const QScreen* onScreen = screen() ? screen() : QGuiApplication::primaryScreen();
  QSize largest(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  if (onScreen) {
    // The frame the window system adds, once it is known.
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    largest = onScreen->availableGeometry().size() - frame;
    const QSize around = size() - client->size();
    smallest = smallest.boundedTo(largest - (isVisible() ? around : QSize(0, 0)));
  }
  client->setMinimumSize(smallest);
  static_cast<ClientArea*>(client)->SetDefaultSize(full);
  setMaximumSize(largest);
}

void CLookupDlg::LayOut() {
  const QSize full = DefaultClientSize();
  const int dx = client->width() - full.width();
  const int dy = client->height() - full.height();
  for (const Placement& placed : placements) {
    QRect rect = Scaled(bShowMaps ? placed.base : placed.hidden);
    if (placed.anchors & kMoveRight) rect.translate(dx, 0);
    if (placed.anchors & kMoveDown) rect.translate(0, dy);
    if (placed.anchors & kGrowWidth) rect.setWidth(rect.width() + dx);
    if (placed.anchors & kGrowHeight) rect.setHeight(rect.height() + dy);
    placed.widget->setGeometry(rect);
  }
  mapShift = QPoint(dx, dy);
  suggestionList->Close();
  client->update();
}

void CLookupDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FitToScreen();
  KeepOnScreen();
}

void CLookupDlg::KeepOnScreen() {
  if (!isVisible() || !screen()) return;  // not placed yet: the window system places it
  layout()->activate();  // the new size, now
  const QRect available = screen()->availableGeometry();
  const QRect frame = frameGeometry();
  const int x = std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width()));
  const int y = std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height()));
  if (QPoint(x, y) != frame.topLeft()) move(x, y);
}

void CLookupDlg::OnLButtonDown(const QPoint& point) {
  // Into the map's own pixels, which the map area's move and the window
  // scale leave unchanged.
  const double scale = WindowScale();
  const int x = static_cast<int>(std::floor((point.x() - mapShift.x()) / scale));
  const int y = static_cast<int>(std::floor(point.y() / scale));
  // With the maps hidden only the insets' places answer a click, as they
  // always have.
  const auto inside = [x, y](const PixelRect& r) {
    return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
  };
  if (!bShowMaps && !inside(kAlaskaInset) && !inside(kHawaiiInset)) return;
  const std::string query = MapClickQuery(clickPoints, x, y);
  if (query.empty()) return;
  editQuery->setText(ToQString(query));
  OnOK();
}

void CLookupDlg::OnPaint(QPainter& painter) {
  if (!bShowMaps) return;
  const Answer& answer = flow.GetAnswer();
  const std::optional<PlaceFacts>& largest = answer.largestPlace;
  const double scale = WindowScale();
  painter.save();
  painter.translate(mapShift.x(), 0);
  painter.scale(scale, scale);
  PaintMapArea(painter, answer.foundState,
               CitySymbolToDraw(bInitializing, answer.foundState, largest ? largest->name : "",
                                largest ? largest->state : ""));
  painter.restore();
  // The legend's square goes down with its text.
  painter.translate(mapShift);
  painter.scale(scale, scale);
  DrawSymbolSquare(painter, kLegendX, kLegendY);
}

void CLookupDlg::keyPressEvent(QKeyEvent* event) {
  // There is no default button: Enter anywhere searches, and never closes;
  // on an entry of a result list it looks up that entry, as a double-click does.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    if (!FollowCurrentEntry()) OnOK();
    return;
  }
  // Shift+F10 and the Menu key open the context menu of the control with
  // the focus, where the keyboard is.
  const bool menuKey = event->key() == Qt::Key_Menu ||
                       (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
  if (menuKey && OpenContextMenu()) return;
  QDialog::keyPressEvent(event);
}

bool CLookupDlg::OpenContextMenu() {
  QWidget* focused = focusWidget();
  if (auto* list = qobject_cast<QListWidget*>(focused)) {
    const QListWidgetItem* current = list->currentItem();
    OnListContextMenu(list, current ? list->visualItemRect(current).center() : QPoint(0, 0));
    return true;
  }
  if (focused == editQuery || focused == editStatus) {
    QWidget* target = focused == editQuery ? static_cast<QWidget*>(editQuery) : editStatus->viewport();
    const QPoint at = focused == editQuery
                          ? editQuery->inputMethodQuery(Qt::ImCursorRectangle).toRect().center()
                          : editStatus->cursorRect().center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &menu);
    return true;
  }
  return false;
}

bool CLookupDlg::eventFilter(QObject* watched, QEvent* event) {
  // An Alt chord that no mnemonic or shortcut took (Alt+Z with the maps
  // hidden) is not typing.
  if (watched == editQuery && event->type() == QEvent::KeyPress) {
    const Qt::KeyboardModifiers modifiers = static_cast<QKeyEvent*>(event)->modifiers();
    if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier)) return true;
  }
  return QDialog::eventFilter(watched, event);
}

bool CLookupDlg::FollowCurrentEntry() {
  const std::pair<QListWidget*, void (CLookupDlg::*)()> followUps[] = {
      {listAreaCodes, &CLookupDlg::OnDblclkAreaCodes},
      {listLargestCity, &CLookupDlg::OnDblclkLargestCity},
      {listMajorCities, &CLookupDlg::OnDblclkMajorCities}};
  for (const auto& [list, follow] : followUps) {
    if (list != focusWidget() || !list->currentItem()) continue;
    // The entry the focus frame marks, selected so that it is the one looked up.
    list->setCurrentItem(list->currentItem(), QItemSelectionModel::ClearAndSelect);
    (this->*follow)();
    return true;
  }
  return false;
}

void CLookupDlg::OnEditCopy() {
  QWidget* focused = focusWidget();
  if (focused == editQuery) {
    editQuery->copy();
    return;
  }
  CopyEntryOf(qobject_cast<QListWidget*>(focused));
}

void CLookupDlg::CopyEntryOf(const QListWidget* list) {
  if (!list || list->selectedItems().isEmpty()) return;  // nothing selected, nothing copied
  QApplication::clipboard()->setText(list->selectedItems().first()->text());
}

void CLookupDlg::OnListContextMenu(QListWidget* list, const QPoint& at) {
  // The entry under the pointer is the one copied; elsewhere the selected one.
  if (QListWidgetItem* item = list->itemAt(at)) {
    list->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
  }
  auto* menu = new QMenu(list);
  menu->setObjectName(QStringLiteral("listMenu"));
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->setFont(DialogFont());
  QAction* copy = menu->addAction(QStringLiteral("&Copy"), this, [this, list] { CopyEntryOf(list); });
  copy->setEnabled(!list->selectedItems().isEmpty());
  QAction* answer = menu->addAction(QStringLiteral("Copy &Answer"), this, &CLookupDlg::OnEditCopyAnswer);
  answer->setEnabled(flow.GetAnswer().HasLists());
  if (list == listMajorCities) menu->addAction(actShowAllPlaces);
  menu->popup(list->viewport()->mapToGlobal(at));
}

void CLookupDlg::OnEditCopyAnswer() {
  const Answer& answer = flow.GetAnswer();
  if (!answer.HasLists()) return;  // before a search, or after a cancelled choice
  QApplication::clipboard()->setText(QString::fromStdString(AnswerText(answer, nowUtc_())));
}

void CLookupDlg::ReadQuery() { flow.SetQuery(FromQString(editQuery->text())); }

void CLookupDlg::ShowResults() {
  const Answer& answer = flow.GetAnswer();
  editQuery->setText(ToQString(answer.query));
  FillList(listAreaCodes, answer.areaCodes.entries);
  FillList(listLargestCity, answer.largestCity.entries);
  // Each answer opens on its major cities.
  bShowAllPlaces = false;
  ShowPlacesList();
  FillList(listStateOrProvince, answer.stateOrProvince);
  FillList(listTimeZone, answer.times.zoneLine);
  UpdateStatus();
  // A screen reader hears each answer once, not each minute of its clock.
  const QString spoken = ToQString(SpokenText(answer, nowUtc_()));
  if (!spoken.isEmpty()) announcer->Announce(spoken);
  client->update();
}

void CLookupDlg::FocusQuery() {
  editQuery->setFocus();
  editQuery->selectAll();
}

}  // namespace tq
