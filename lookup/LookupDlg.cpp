#include "lookup/LookupDlg.h"

#include <algorithm>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCompleter>
#include <QGroupBox>
#include <QInputDialog>
#include <QMessageBox>
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
#include <QStringListModel>
#include <QVBoxLayout>

#include "lookup/AnswerText.h"
#include "lookup/DialogFont.h"
#include "lookup/DialogUnits.h"
#include "lookup/QtText.h"
#include "map/CitySymbols.h"
#include "map/MapLayout.h"
#include "map/MapPainter.h"

namespace tq {
namespace {

constexpr int kClientHeight = DialogUnitsToPixelsY(230);

// Where the search controls go when the map area is switched on or off.
constexpr QPoint kSearchGroupAt{11, 11};
constexpr int kSearchGroupWidthMapsShown = 243;
constexpr QPoint kQueryAt{20, 50};
constexpr int kQueryWidthMapsShown = 224;
constexpr int kQueryWidthMapsHidden = 286;
constexpr QPoint kSearchButtonAtMapsShown{168, 76};
constexpr QPoint kSearchButtonAtMapsHidden{231, 76};

// The area below the menu bar: the controls lie on it at fixed pixels, the
// map is painted onto it, and clicks that no control takes arrive here.
class ClientArea : public QWidget {
 public:
  explicit ClientArea(CLookupDlg& dialog) : QWidget(&dialog), dialog_(dialog) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    dialog_.OnPaint(painter);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) dialog_.OnLButtonDown(event->position().toPoint());
    QWidget::mousePressEvent(event);
  }

 private:
  CLookupDlg& dialog_;
};

// Labels and group boxes let the mouse through to the window, as the map
// clicks need. A label's mnemonic moves the focus to its `buddy`.
QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, const QRect& rect,
                 QWidget* buddy = nullptr) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setTextFormat(Qt::PlainText);
  label->setBuddy(buddy);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  label->setGeometry(rect);
  return label;
}

QGroupBox* AddGroupBox(QWidget* parent, const char* name, const QString& title,
                       const QRect& rect) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(QLatin1String(name));
  group->setAttribute(Qt::WA_TransparentForMouseEvents);
  group->setFocusPolicy(Qt::NoFocus);
  group->setGeometry(rect);
  return group;
}

enum class ListKind { kScrolling, kOneLine };

QListWidget* AddList(QWidget* parent, const char* name, const QRect& rect, ListKind kind) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QLatin1String(name));
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  if (kind == ListKind::kOneLine) list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setGeometry(rect);
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

// The status line is a status bar to assistive technology.
QAccessibleInterface* StatusLineAccessible(const QString& className, QObject* object) {
  if (className != QLatin1String("QLabel") || object->objectName() != QLatin1String("lblStatus")) {
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
  setFont(DialogFont());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  CreateMenu();
  layout->setMenuBar(menuBar);
  client = new ClientArea(*this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(kClientWidthMapsShown, kClientHeight);
  layout->addWidget(client);
  CreateControls();
  // Under the fixed client area, as wide as it: a long text wraps onto more
  // lines and the window grows to show all of it (FitStatus).
  static const bool accessibleFactory = (QAccessible::installFactory(StatusLineAccessible), true);
  (void)accessibleFactory;
  lblStatus = new QLabel(this);
  lblStatus->setObjectName(QStringLiteral("lblStatus"));
  lblStatus->setTextFormat(Qt::PlainText);
  lblStatus->setWordWrap(true);
  lblStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblStatus->setContentsMargins(DialogUnitsToPixelsX(7), 2, DialogUnitsToPixelsX(7), 3);
  lblStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  lblStatus->setAccessibleName(QStringLiteral("Status"));
  lblStatus->setAccessibleDescription(QString());
  layout->addWidget(lblStatus);
  statusTimer.setSingleShot(true);
  connect(&statusTimer, &QTimer::timeout, this, [this] { UpdateStatus(false); });

  OnInitDialog(showMapsSetting);
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

// In the order of tabbing, which is the order of creation.
void CLookupDlg::CreateControls() {
  grpSearch = AddGroupBox(client, "grpSearch", QStringLiteral("Search"),
                          DialogRect(7, 7, 162, 63));
  editQuery = new QLineEdit(client);
  editQuery->setObjectName(QStringLiteral("editQuery"));
  editQuery->setGeometry(DialogRect(13, 31, 149, 12));
  SetHeading(AddLabel(client, "lblQuery", QString(), DialogRect(13, 19, 94, 8), editQuery),
             QStringLiteral("&Enter area code or city, state:"));
  btnSearch = new QPushButton(QStringLiteral("&Search"), client);
  btnSearch->setObjectName(QStringLiteral("btnSearch"));
  btnSearch->setAutoDefault(false);
  btnSearch->setGeometry(DialogRect(112, 47, 50, 14));
  chkShowMaps = new QCheckBox(QStringLiteral("&Show maps"), client);
  chkShowMaps->setObjectName(QStringLiteral("chkShowMaps"));
  chkShowMaps->setGeometry(DialogRect(13, 50, 53, 10));

  grpResults = AddGroupBox(client, "grpResults", QStringLiteral("Results"),
                           DialogRect(7, 73, 203, 150));
  listAreaCodes = AddList(client, "listAreaCodes", DialogRect(13, 97, 52, 90),
                          ListKind::kScrolling);
  lblAreaCodes = AddLabel(client, "lblAreaCodes", QString(), DialogRect(13, 85, 43, 8),
                          listAreaCodes);
  listLargestCity = AddList(client, "listLargestCity", DialogRect(70, 97, 134, 12),
                            ListKind::kOneLine);
  lblLargestCity = AddLabel(client, "lblLargestCity", QString(), DialogRect(70, 85, 134, 8),
                            listLargestCity);
  listMajorCities = AddList(client, "listMajorCities", DialogRect(70, 128, 134, 59),
                            ListKind::kScrolling);
  lblMajorCities = AddLabel(client, "lblMajorCities", QString(), DialogRect(70, 116, 134, 8),
                            listMajorCities);
  lblMapHint = AddLabel(client, "lblMapHint",
                        QStringLiteral("[ Click center of state/province to see all of "
                                       "its area codes. ]"),
                        DialogRect(216, 177, 188, 8));
  listStateOrProvince = AddList(client, "listStateOrProvince", DialogRect(13, 203, 191, 12),
                                ListKind::kOneLine);
  lblStateOrProvince = AddLabel(client, "lblStateOrProvince", QString(),
                                DialogRect(13, 191, 57, 8), listStateOrProvince);
  SetHeading(lblStateOrProvince, Mnemonic(kStateOrProvinceHeading, 9));  // Alt+P
  listTimeZone = AddList(client, "listTimeZone", DialogRect(311, 203, 176, 12),
                         ListKind::kOneLine);
  lblTimeZone = AddLabel(client, "lblTimeZone", QString(), DialogRect(224, 204, 79, 8),
                         listTimeZone);
  SetHeading(lblTimeZone, Mnemonic(kTimeZoneHeading, 5));  // Alt+Z
  grpTimeZone = AddGroupBox(client, "grpTimeZone", QString(), DialogRect(216, 190, 282, 33));
  lblSymbolLegend = AddLabel(client, "lblSymbolLegend", QStringLiteral("Largest city symbol:"),
                             DialogRect(419, 177, 62, 8));
  ShowHeadings();
  DescribeControls();

  // Suggestions under the input field; Enter and the clicks on them are the
  // window's (eventFilter, TakeSuggestion), so that Enter on typed text
  // searches that text as before.
  suggestions = new QStringListModel(this);
  completer = new QCompleter(suggestions, this);
  completer->setWidget(editQuery);
  completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  completer->setMaxVisibleItems(static_cast<int>(PlaceCompletion::kDefaultLimit));
  completer->popup()->setObjectName(QStringLiteral("suggestions"));
  completer->popup()->setAccessibleName(QStringLiteral("Suggestions"));
  completer->popup()->setFont(DialogFont());
  completer->popup()->installEventFilter(this);
  connect(completer, QOverload<const QString&>::of(&QCompleter::activated), this,
          &CLookupDlg::TakeSuggestion);
  connect(editQuery, &QLineEdit::textEdited, this, &CLookupDlg::OnQueryEdited);

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
  editQuery->setText(ToQString(kInitialQuery));
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
  bool ok = false;
  const QString text = QInputDialog::getText(
      this, QStringLiteral("Calling Hours"),
      QStringLiteral("Local hours in which a place may be called (HH:MM-HH:MM):"),
      QLineEdit::Normal, ToQString(CallingHoursText(GetCallingHours())), &ok);
  if (!ok) return;
  const std::optional<CallingHours> hours = ParseCallingHours(FromQString(text.trimmed()));
  if (!hours) {
    QMessageBox::warning(this, QStringLiteral("Calling Hours"),
                         QStringLiteral("\"%1\" is not a window of local hours such as "
                                        "08:00-21:00; the calling hours stay %2.")
                             .arg(text, ToQString(CallingHoursText(GetCallingHours()))));
    return;
  }
  SetCallingHours(*hours);
}

void CLookupDlg::SetClock(std::function<std::int64_t()> nowUtc) {
  nowUtc_ = std::move(nowUtc);
  flow.SetNow(nowUtc_);
  UpdateStatus(false);
}

void CLookupDlg::UpdateStatus(bool announce) {
  const std::int64_t now = nowUtc_();
  // The time zone line follows the same instant as the status line.
  const std::vector<std::string> zoneLine = ZoneLineAt(flow.GetAnswer().times, now);
  if (ListTexts(listTimeZone) != zoneLine) FillList(listTimeZone, zoneLine);
  const QString text = ToQString(StatusText(flow.GetAnswer(), now));
  if (text != lblStatus->text()) {
    lblStatus->setText(text);
    lblStatus->setToolTip(text);
    lblStatus->setAccessibleName(text.isEmpty() ? QStringLiteral("Status") : text);
    lblStatus->setAccessibleDescription(text);
    FitStatus();
    // A screen reader hears a new answer, not each minute of its clock.
    if (announce && !text.isEmpty()) {
      QAccessibleEvent alert(lblStatus, QAccessible::Alert);
      QAccessible::updateAccessibility(&alert);
      emit statusAnnounced(text);
    }
  }
  constexpr std::int64_t kMinute = 60;
  const std::int64_t seconds = kMinute - ((now % kMinute) + kMinute) % kMinute;
  statusTimer.start(static_cast<int>(seconds * 1000));
}

void CLookupDlg::OnQueryEdited(const QString& text) {
  QStringList shown;
  for (const std::string& place : placeCompletion.Suggest(FromQString(text))) {
    shown << ToQString(place);
  }
  // A ZIP or postal code suggests its place.
  if (const std::string place = flow.PlaceOfCode(FromQString(text)); !place.empty()) {
    shown << ToQString(place);
  }
  if (shown.isEmpty()) {
    completer->popup()->hide();
    return;
  }
  suggestions->setStringList(shown);
  completer->complete();
  completer->popup()->setCurrentIndex(QModelIndex());  // none taken until chosen
}

void CLookupDlg::TakeSuggestion(const QString& text) { SearchFor(text); }

void CLookupDlg::SearchFor(const QString& text) {
  editQuery->setText(text);
  OnOK();
}

bool CLookupDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched != completer->popup() || event->type() != QEvent::KeyPress) {
    return QDialog::eventFilter(watched, event);
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
  const QModelIndex chosen = completer->popup()->currentIndex();
  completer->popup()->hide();
  if (chosen.isValid()) {
    TakeSuggestion(chosen.data().toString());
  } else {
    OnOK();  // the text as typed
  }
  return true;
}

// As many lines as the status text needs at the client area's width.
void CLookupDlg::FitStatus() {
  const QMargins margins = lblStatus->contentsMargins();
  const int width = client->width() - margins.left() - margins.right();
  const int height = lblStatus->text().isEmpty()
                         ? lblStatus->fontMetrics().height()
                         : lblStatus->fontMetrics()
                               .boundingRect(QRect(0, 0, width, 100000),
                                             Qt::TextWordWrap | Qt::AlignLeft, lblStatus->text())
                               .height();
  lblStatus->setFixedHeight(height + margins.top() + margins.bottom());
  layout()->activate();  // the window's new height at once, not at the next event
}

void CLookupDlg::OnOK() {
  completer->popup()->hide();
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
  FillList(listMajorCities, bShowAllPlaces ? AllPlaceEntries(answer) : answer.majorCities.entries);
  const int exchangeRow = bShowAllPlaces ? answer.exchangeRowInAll : answer.exchangeRow;
  if (exchangeRow >= 0) listMajorCities->setCurrentRow(exchangeRow);
  actShowAllPlaces->setChecked(bShowAllPlaces);
  actShowAllPlaces->setEnabled(bShowAllPlaces || HasUnlistedPlaces(answer));
}

void CLookupDlg::FollowUp(bool (SearchFlow::*followUp)(int), const QListWidget* list) {
  ReadQuery();
  if ((flow.*followUp)(SelectedRow(list))) ShowResults();
  FocusQuery();
}

void CLookupDlg::OnShowMaps() {
  if (bShowMaps) {
    bShowMaps = 0;
    grpTimeZone->hide();
    grpSearch->setGeometry(QRect(kSearchGroupAt, QSize(grpResults->width(), grpSearch->height())));
    editQuery->setGeometry(QRect(kQueryAt, QSize(kQueryWidthMapsHidden, editQuery->height())));
    btnSearch->move(kSearchButtonAtMapsHidden);
  } else {
    bShowMaps = 1;
    grpTimeZone->show();
    grpSearch->setGeometry(
        QRect(kSearchGroupAt, QSize(kSearchGroupWidthMapsShown, grpSearch->height())));
    editQuery->setGeometry(QRect(kQueryAt, QSize(kQueryWidthMapsShown, editQuery->height())));
    btnSearch->move(kSearchButtonAtMapsShown);
  }
  // What lies in the map area goes with it, so that neither Tab nor a
  // mnemonic reaches a control off the narrow window.
  for (QWidget* inMapArea : {static_cast<QWidget*>(lblMapHint), static_cast<QWidget*>(lblTimeZone),
                             static_cast<QWidget*>(listTimeZone), static_cast<QWidget*>(lblSymbolLegend)}) {
    inMapArea->setVisible(bShowMaps != 0);
  }
  client->setFixedWidth(bShowMaps ? kClientWidthMapsShown : kClientWidthMapsHidden);
  if (lblStatus) FitStatus();
  KeepOnScreen();
  FocusQuery();
  client->update();
}

void CLookupDlg::KeepOnScreen() {
  if (!isVisible() || !screen()) return;  // not placed yet: the window system places it
  layout()->activate();  // the new width, now
  const QRect available = screen()->availableGeometry();
  const QRect frame = frameGeometry();
  const int x = std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width()));
  const int y = std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height()));
  if (QPoint(x, y) != frame.topLeft()) move(x, y);
}

void CLookupDlg::OnLButtonDown(const QPoint& point) {
  const std::string query = MapClickQuery(clickPoints, point.x(), point.y());
  if (query.empty()) return;
  editQuery->setText(ToQString(query));
  OnOK();
}

void CLookupDlg::OnPaint(QPainter& painter) {
  if (!bShowMaps) return;
  const Answer& answer = flow.GetAnswer();
  const std::optional<PlaceFacts>& largest = answer.largestPlace;
  PaintMapArea(painter, answer.foundState,
               CitySymbolToDraw(bInitializing, answer.foundState, largest ? largest->name : "",
                                largest ? largest->state : ""));
}

void CLookupDlg::keyPressEvent(QKeyEvent* event) {
  // There is no default button: Enter anywhere searches, and never closes;
  // on an entry of a result list it looks up that entry, as a double-click does.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    if (!FollowCurrentEntry()) OnOK();
    return;
  }
  QDialog::keyPressEvent(event);
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
  client->update();
}

void CLookupDlg::FocusQuery() {
  editQuery->setFocus();
  editQuery->selectAll();
}

}  // namespace tq
