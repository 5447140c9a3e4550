#include "lookup/CityPickDlg.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

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

}  // namespace

CCityPickDlg::CCityPickDlg(QWidget* parent)
    : QDialog(parent, kSmallDialogFlags) {
  SetUpSmallDialog(*this, QStringLiteral("Matching Cities"), 248, 117);

  btnOK = new QPushButton(QStringLiteral("OK"), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setGeometry(DialogRect(191, 7, 50, 14));
  btnOK->setDefault(true);

  btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setGeometry(DialogRect(191, 24, 50, 14));

  listCities = new QListWidget(this);
  listCities->setObjectName(QStringLiteral("listCities"));
  listCities->setGeometry(DialogRect(7, 19, 175, 91));
  listCities->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  auto* prompt = new QLabel(QStringLiteral("Please select one:"), this);
  prompt->setTextFormat(Qt::PlainText);
  prompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  prompt->setGeometry(DialogRect(7, 7, 59, 8));

  connect(btnOK, &QPushButton::clicked, this, &CCityPickDlg::OnOK);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(listCities, &QListWidget::itemDoubleClicked, this, &CCityPickDlg::OnOK);
}

void CCityPickDlg::SetChoices(const std::vector<std::string>& choices) {
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
  for (const std::string& entry : shownChoices_) listCities->addItem(ToQString(entry));
  if (listCities->count() > 0) listCities->setCurrentRow(0);
  listCities->setFocus();
}

void CCityPickDlg::OnOK() {
  const int selected = listCities->currentRow();
  if (selected >= 0 && listCities->item(selected)->isSelected()) {
    strSelection = shownChoices_[static_cast<std::size_t>(selected)];
  }
  accept();
}

CityChoiceReply CCityPickChooser::ChooseCity(const std::vector<CityChoice>& choices) {
  CCityPickDlg dialog(parent_);
  std::vector<std::string> texts;
  texts.reserve(choices.size());
  for (const CityChoice& choice : choices) texts.push_back(choice.text);
  dialog.SetChoices(texts);
  if (dialog.exec() != QDialog::Accepted) return {};
  return {CityChoiceReply::Kind::kChosen, dialog.GetSelection()};
}

}  // namespace tq
