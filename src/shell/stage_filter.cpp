// The window's side of the globe filter and of the messages about friends:
// the Filter toggle and Ctrl+Return in the search field, the status line's
// message and the desktop notifications.
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include "base/text_encoding.h"
#include "shell/record_text.h"
#include "shell/stage.h"

namespace netglobe {
namespace {

// Ctrl+Return in the search field, seen before the field takes Return as
// "fly to the first match".
class CtrlReturn : public QObject {
 public:
  CtrlReturn(QObject* parent, std::function<void()> action) : QObject(parent), action_(std::move(action)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
          (key->modifiers() & Qt::ControlModifier)) {
        action_();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> action_;
};

}  // namespace

void Stage::connectfilter() {
  const auto fieldtext = [this] { return tocp1252(controls_.Search->text().toStdString()); };
  controls_.Search->installEventFilter(
      new CtrlReturn(this, [this, fieldtext] { apply(session_.filterfromfield(fieldtext())); }));
  // clicked, not toggled: the session sets the toggle's state too.
  connect(controls_.FilterToggle, &QToolButton::clicked, this, [this, fieldtext](bool on) {
    apply(session_.setfilter(on ? fieldtext() : std::string()));
    controls_.Search->setFocus();
  });
}

void Stage::shownotices(const Effects& e) {
  if (e.notice) {
    controls_.Notice->setText(fromrecord(*e.notice));
    controls_.Notice->setCursorPosition(0);
    controls_.Notice->show();
    controls_.Notice->raise();
  }
  for (const std::string& text : e.notify) notifier_.notify(text);
}

}  // namespace netglobe
