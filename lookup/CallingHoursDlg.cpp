#include "lookup/CallingHoursDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "lookup/DialogFont.h"
#include "lookup/DialogUnits.h"
#include "lookup/QtText.h"

namespace tq {
namespace {

QString TimeText(int minutes) {
  return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QLabel* AddLabel(QWidget* parent, const QString& text, const QRect& rect, QWidget* buddy) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  label->setGeometry(rect);
  return label;
}

}  // namespace

CCallingHoursDlg::CCallingHoursDlg(const CallingHours& hours, QWidget* parent)
    : QDialog(parent, kSmallDialogFlags), hours_(hours) {
  SetUpSmallDialog(*this, QStringLiteral("Calling Hours"), 200, 82);
  auto* prompt = new QLabel(QStringLiteral("Local hours in which a place may be called:"), this);
  prompt->setGeometry(DialogRect(7, 7, 186, 8));

  editFrom = new QLineEdit(TimeText(hours.first), this);
  editFrom->setObjectName(QStringLiteral("editFrom"));
  editFrom->setGeometry(DialogRect(30, 21, 40, 12));
  AddLabel(this, QStringLiteral("&From:"), DialogRect(7, 23, 22, 8), editFrom);
  editTo = new QLineEdit(TimeText(hours.end), this);
  editTo->setObjectName(QStringLiteral("editTo"));
  editTo->setGeometry(DialogRect(96, 21, 40, 12));
  AddLabel(this, QStringLiteral("&To:"), DialogRect(78, 23, 16, 8), editTo);
  for (QLineEdit* edit : {editFrom, editTo}) {
    edit->setPlaceholderText(QStringLiteral("9:00"));
    connect(edit, &QLineEdit::textChanged, this, &CCallingHoursDlg::Validate);
  }

  lblProblem = new QLabel(this);
  lblProblem->setObjectName(QStringLiteral("lblProblem"));
  lblProblem->setWordWrap(true);
  lblProblem->setGeometry(DialogRect(7, 38, 186, 18));

  btnOK = new QPushButton(QStringLiteral("OK"), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setGeometry(DialogRect(89, 61, 50, 14));
  btnOK->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setGeometry(DialogRect(143, 61, 50, 14));
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  Validate();
}

void CCallingHoursDlg::Validate() {
  const std::optional<int> first = ParseTimeOfDay(FromQString(editFrom->text().trimmed()), false);
  const std::optional<int> end = ParseTimeOfDay(FromQString(editTo->text().trimmed()), true);
  hours_ = first && end ? CallingHoursOf(*first, *end) : std::nullopt;
  QString problem;
  if (!first) {
    problem = QStringLiteral("\"From\" is not a time of day such as 8:00 or 13:30.");
  } else if (!end) {
    problem = QStringLiteral("\"To\" is not a time of day such as 21:00 or 24:00.");
  } else if (!hours_) {
    problem = QStringLiteral("The two times are the same: no hours are left to call in.");
  }
  lblProblem->setText(problem);
  // Said where a screen reader looks: on the fields themselves.
  editFrom->setAccessibleDescription(problem);
  editTo->setAccessibleDescription(problem);
  btnOK->setEnabled(hours_.has_value());
}

}  // namespace tq
