#include "app/HelpWindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QVBoxLayout>

#include "app/AppIcon.h"
#include "lookup/DialogFont.h"
#include "lookup/DialogUnits.h"

namespace tq {
namespace {

// A heading of the page: a label of its own class, which assistive
// technology is told is a heading.
class HeadingLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;
};

// The page's headings are headings, and the page a document, to assistive
// technology.
class HeadingAccessible : public QAccessibleWidget {
 public:
  explicit HeadingAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::Heading) {}
};

QAccessibleInterface* HelpAccessible(const QString& className, QObject* object) {
  if (className == QLatin1String("tq::HeadingLabel")) {
    return new HeadingAccessible(static_cast<QLabel*>(object));
  }
  if (className == QLatin1String("QWidget") && object->objectName() == QLatin1String("helpDocument")) {
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Document,
                                 QStringLiteral("Telquest Pro Help"));
  }
  return nullptr;
}

// The HTML of the part of `document` between `from` and `to`.
QString FragmentHtml(QTextDocument& document, int from, int to) {
  QTextCursor cursor(&document);
  cursor.setPosition(from);
  cursor.setPosition(to, QTextCursor::KeepAnchor);
  return cursor.selection().toHtml();
}

}  // namespace

CHelpWindow::CHelpWindow(QWidget* parent) : QScrollArea(parent) {
  static const bool factory = (QAccessible::installFactory(HelpAccessible), true);
  (void)factory;
  setWindowFlag(Qt::Window);
  setWindowTitle(QStringLiteral("Telquest Pro Help"));
  setWindowIcon(AppIcon());
  setFont(DialogFont());
  setWidgetResizable(true);
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("helpDocument"));
  page->setBackgroundRole(QPalette::Base);
  page->setAutoFillBackground(true);
  blocks_ = new QVBoxLayout(page);
  blocks_->setSpacing(Scaled(6));

  QFile file(QStringLiteral(":/help/index.html"));
  QTextDocument document;
  if (file.open(QIODevice::ReadOnly)) document.setHtml(QString::fromUtf8(file.readAll()));
  // Each block of the page one label: a heading, a paragraph, an item of a
  // list, a row of a table (its cells side by side).
  for (QTextFrame::iterator part = document.rootFrame()->begin(); !part.atEnd(); ++part) {
    if (auto* table = qobject_cast<QTextTable*>(part.currentFrame())) {
      for (int row = 0; row < table->rows(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columns(); ++column) {
          const QTextTableCell cell = table->cellAt(row, column);
          cells << FragmentHtml(document, cell.firstPosition(), cell.lastPosition());
        }
        QTextDocument line;
        line.setHtml(cells.join(QStringLiteral(" &mdash; ")));
        AddBlock(line.toHtml(), line.toPlainText(), 0);
      }
      continue;
    }
    const QTextBlock block = part.currentBlock();
    if (!block.isValid() || block.text().trimmed().isEmpty()) continue;
    // An item of a list keeps its list, and with it its bullet.
    AddBlock(FragmentHtml(document, block.position(), block.position() + block.length() - 1),
             block.text(), block.blockFormat().headingLevel());
  }
  blocks_->addStretch(1);
  setWidget(page);
  resize(Scaled(560), Scaled(600));
}

void CHelpWindow::AddBlock(const QString& html, const QString& plain, int headingLevel) {
  auto* label = headingLevel > 0 ? new HeadingLabel(html) : new QLabel(html);
  label->setAccessibleName(plain);
  label->setTextFormat(Qt::RichText);
  label->setWordWrap(true);
  label->setOpenExternalLinks(true);
  label->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse |
                                 Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  label->setFocusPolicy(Qt::StrongFocus);
  if (headingLevel > 0) {
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(font.pixelSize() * (headingLevel == 1 ? 16 : 13) / 10);
    label->setFont(font);
  }
  blocks_->addWidget(label);
}

QString CHelpWindow::PlainText() const {
  QStringList lines;
  for (const QLabel* label : widget()->findChildren<QLabel*>()) lines << label->accessibleName();
  return lines.join(QLatin1Char('\n'));
}

void CHelpWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QScrollArea::keyPressEvent(event);
}

}  // namespace tq

#include "HelpWindow.moc"
