#pragma once
// What a screen reader says of itself, without the focus moving: each
// Announce(text) shows a notification that assistive technology presents
// once, while the keyboard stays where the user left it. It paints nothing.

#include <QString>
#include <QWidget>

namespace tq {

class Announcer : public QWidget {
  Q_OBJECT

 public:
  explicit Announcer(QWidget* parent);

  // Presents `text` now, also when it equals the last one.
  void Announce(const QString& text);
  // The last text presented.
  QString Text() const { return text_; }

 signals:
  void announced(const QString& text);

 private:
  QString text_;
};

}  // namespace tq
