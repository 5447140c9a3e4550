#include "app/AboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include "app/AppIcon.h"
#include "app/ProductVersion.h"
#include "lookup/DialogFont.h"
#include "lookup/DialogUnits.h"
#include "res/DataDate.h"

namespace tq {
namespace {

constexpr int kIconPixels = 32;

QLabel* AddText(QDialog* dialog, const QString& text, const QRect& rect) {
  auto* label = new QLabel(text, dialog);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(rect);
  return label;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, kSmallDialogFlags) {
  SetUpSmallDialog(*this, QStringLiteral("About Telquest Pro"), 260, 116);

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("icon"));
  const QRect iconCell = DialogRect(11, 15, 20, 20);
  const int iconPixels = Scaled(kIconPixels);
  icon->setGeometry(iconCell.x(), iconCell.y(), iconPixels, iconPixels);
  icon->setPixmap(AppIcon().pixmap(iconPixels, iconPixels));

  AddText(this, QString::fromStdString(AboutVersionLine()), DialogRect(40, 14, 167, 8));
  AddText(this,
          QStringLiteral("This version contains area codes in service at the end of ") +
              QString::fromUtf8(kDataMonthYear) + QLatin1Char('.'),
          DialogRect(12, 82, 228, 8));
  // GeoNames asks for its credit wherever its data is shown (CC BY 4.0).
  AddText(this, QStringLiteral("Places and postal codes include data from GeoNames (CC BY 4.0)."),
          DialogRect(12, 94, 228, 8));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("btnOK"));
  ok->setGeometry(DialogRect(221, 7, 32, 14));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tq
