#include "lookup/CityPickDlg.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>

#include "lookup/AnswerText.h"
#include "lookup/DialogFont.h"
#include "lookup/DialogUnits.h"
#include "lookup/QtText.h"

namespace tq {
namespace {

struct PresetAnswer {
  QDialog::DialogCode answer;
  QString pick;
};
std::optional<PresetAnswer> nextAnswer;

// An entry's text on the left and, right-aligned in the same row, what tells
// it from its namesakes (the entry's accessible description); the text gives
// way (elided) when both do not fit.
class ChoiceDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QString text = item.text;
    const QString details = index.data(Qt::AccessibleDescriptionRole).toString();
    item.text.clear();
    const QWidget* widget = item.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    const QRect area = item.rect.adjusted(Scaled(kCityPickTextMargin), 0, -Scaled(kCityPickTextMargin), 0);
    const QFontMetrics metrics(item.font);
    const int detailsWidth = details.isEmpty() ? 0 : metrics.horizontalAdvance(details) + Scaled(kCityPickGap);
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(item.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                           : QPalette::Text));
    painter->drawText(area.adjusted(0, 0, -detailsWidth, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      metrics.elidedText(text, Qt::ElideRight, area.width() - detailsWidth));
    painter->drawText(area, Qt::AlignRight | Qt::AlignVCenter, details);
    painter->restore();
  }
};

}  // namespace

CCityPickDlg::CCityPickDlg(QWidget* parent)
    : QDialog(parent, kSmallDialogFlags) {
  // Wider than the list of names alone needs: each entry has its figures.
  SetUpSmallDialog(*this, QStringLiteral("Matching Cities"), 300, 117);

  btnOK = new QPushButton(QStringLiteral("OK"), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setGeometry(DialogRect(243, 7, 50, 14));
  btnOK->setDefault(true);

  btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setGeometry(DialogRect(243, 24, 50, 14));

  listCities = new QListWidget(this);
  listCities->setObjectName(QStringLiteral("listCities"));
  listCities->setGeometry(DialogRect(7, 19, 227, 91));
  listCities->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  listCities->setItemDelegate(new ChoiceDelegate(listCities));
  listCities->setAccessibleName(QStringLiteral("Matching cities"));

  auto* prompt = new QLabel(QStringLiteral("Please select one:"), this);
  prompt->setTextFormat(Qt::PlainText);
  prompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  prompt->setGeometry(DialogRect(7, 7, 59, 8));

  connect(btnOK, &QPushButton::clicked, this, &CCityPickDlg::OnOK);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(listCities, &QListWidget::itemDoubleClicked, this, &CCityPickDlg::OnOK);
}

void CCityPickDlg::SetChoices(const std::vector<std::string>& choices) {
  for (const std::string& text : choices) arrChoices.push_back(CityChoice{text, {}, {}, 0, {}, -1});
}

void CCityPickDlg::SetCityChoices(const std::vector<CityChoice>& choices) {
  arrChoices.insert(arrChoices.end(), choices.begin(), choices.end());
}

void CCityPickDlg::setNextAnswer(QDialog::DialogCode answer, const QString& pick) {
  nextAnswer = PresetAnswer{answer, pick};
}

int CCityPickDlg::exec() {
  if (!nextAnswer) return QDialog::exec();
  const PresetAnswer preset = *nextAnswer;
  nextAnswer.reset();
  OnInitDialog();
  if (preset.answer == QDialog::Rejected) {
    reject();
    return QDialog::Rejected;
  }
  if (!preset.pick.isEmpty()) {
    const QList<QListWidgetItem*> found = listCities->findItems(preset.pick, Qt::MatchExactly);
    if (!found.isEmpty()) listCities->setCurrentItem(found.first());
  }
  OnOK();
  return result();
}

void CCityPickDlg::showEvent(QShowEvent* event) {
  OnInitDialog();
  QDialog::showEvent(event);
}

void CCityPickDlg::OnInitDialog() {
  if (bInitialized) return;
  bInitialized = true;
  shownChoices_ = ChoicesInShownOrder(arrChoices);
  for (const CityChoice& choice : shownChoices_) {
    auto* item = new QListWidgetItem(ToQString(choice.text), listCities);
    const QString details = ToQString(ChoiceDetails(choice));
    item->setData(Qt::AccessibleDescriptionRole, details);
    item->setToolTip(details);
  }
  if (listCities->count() > 0) listCities->setCurrentRow(0);
  listCities->setFocus();
}

void CCityPickDlg::OnOK() {
  const int selected = listCities->currentRow();
  if (selected >= 0 && listCities->item(selected)->isSelected()) {
    strSelection = shownChoices_[static_cast<std::size_t>(selected)].text;
    iSelectedCityId = shownChoices_[static_cast<std::size_t>(selected)].cityId;
  }
  accept();
}

CityChoiceReply CCityPickChooser::ChooseCity(const std::vector<CityChoice>& choices) {
  CCityPickDlg dialog(parent_);
  dialog.SetCityChoices(choices);
  if (dialog.exec() != QDialog::Accepted) return {};
  return {CityChoiceReply::Kind::kChosen, dialog.GetSelection(), dialog.GetSelectedCityId()};
}

}  // namespace tq
