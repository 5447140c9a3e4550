#pragma once
// The help of the program: its own HTML page, shown as a document of
// headings and paragraphs in a window that Escape closes. To assistive
// technology it is a document whose headings are headings; Tab goes from
// block to block, each of which a screen reader reads whole.

#include <QScrollArea>
#include <QString>

class QVBoxLayout;

namespace tq {

class CHelpWindow : public QScrollArea {
  Q_OBJECT

 public:
  explicit CHelpWindow(QWidget* parent = nullptr);

  // The text of the page, block by block, one line each.
  QString PlainText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void AddBlock(const QString& html, const QString& plain, int headingLevel);

  QVBoxLayout* blocks_ = nullptr;
};

}  // namespace tq
