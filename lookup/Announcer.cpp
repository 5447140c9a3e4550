#include "lookup/Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace tq {
namespace {

// A notification whose name is the text announced. Screen readers present a
// notification when it becomes visible (Orca among them, over AT-SPI).
class NotificationAccessible : public QAccessibleWidget {
 public:
  explicit NotificationAccessible(Announcer* announcer)
      : QAccessibleWidget(announcer, QAccessible::Notification), announcer_(announcer) {}
  QString text(QAccessible::Text kind) const override {
    return kind == QAccessible::Name ? announcer_->Text() : QString();
  }

 private:
  Announcer* announcer_;
};

QAccessibleInterface* AnnouncerAccessible(const QString& className, QObject* object) {
  if (className != QLatin1String("tq::Announcer")) return nullptr;
  return new NotificationAccessible(static_cast<Announcer*>(object));
}

}  // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
  static const bool factory = (QAccessible::installFactory(AnnouncerAccessible), true);
  (void)factory;
  setObjectName(QStringLiteral("announcer"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  setGeometry(0, 0, 1, 1);
  hide();
}

void Announcer::Announce(const QString& text) {
  text_ = text;
  // Shown anew, so that the same text twice is presented twice.
  hide();
  if (QAccessible::isActive()) {
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
  }
  show();
  emit announced(text);
}

}  // namespace tq
