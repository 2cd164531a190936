// The window's keys and mouse: each event goes to the session as it comes,
// during startup and downloads as well, and its answer is applied.
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QWheelEvent>

#include "base/text_encoding.h"
#include "shell/record_text.h"
#include "shell/stage.h"

namespace netglobe {

namespace {

int buttoncode(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return kLeftButton;
    case Qt::RightButton: return kRightButton;
    case Qt::MiddleButton: return kMiddleButton;
    default: return 0;
  }
}

int heldbuttons(Qt::MouseButtons buttons) {
  return (buttons & Qt::LeftButton ? kLeftButton : 0) | (buttons & Qt::RightButton ? kRightButton : 0) |
         (buttons & Qt::MiddleButton ? kMiddleButton : 0);
}

}  // namespace

void Stage::typed(const QString& text) {
  // The key table speaks windows-1252, whatever the keyboard layout sends.
  for (const char c : tocp1252(text.toStdString())) apply(session_.key(static_cast<unsigned char>(c)));
}

void Stage::showcornerform() {
  const CornerForm corner;
  setWindowState(Qt::WindowNoState);
  move(corner.left, corner.top);
  // The corner form's size is the outer size, frame included.
  const QSize frame = frameGeometry().size() - size();
  resize(corner.width - frame.width(), corner.height - frame.height());
}

void Stage::mousePressEvent(QMouseEvent* event) {
  const QPointF at = event->position();
  apply(session_.press(buttoncode(event->button()), float(at.x()), float(at.y())));
  event->accept();
}

void Stage::mouseReleaseEvent(QMouseEvent* event) {
  apply(session_.release(buttoncode(event->button())));
  event->accept();
}

void Stage::mouseMoveEvent(QMouseEvent* event) {
  const QPointF at = event->position();
  apply(session_.move(heldbuttons(event->buttons()), float(at.x()), float(at.y())));
  event->accept();
}

void Stage::wheelEvent(QWheelEvent* event) {
  const QPointF at = event->position();
  apply(session_.wheel(float(event->angleDelta().y()) / 120.0f, float(at.x()), float(at.y())));
  event->accept();
}

void Stage::pickat(float x, float y) {
  if (!gl_.isopen()) return;
  // The selection pass runs in window pixels; on a scaled screen the
  // framebuffer has more of them than the event positions count.
  const float scale = float(devicePixelRatioF());
  const PickHits hits = incontext(
      [&] { return gl_.pick(x * scale, y * scale, session_.scene(), session_.view()); });
  apply(session_.picked(hits.hits, hits.selbuf));
}

void Stage::showpick(const PickText& pick) {
  controls_.Text4->setText(fromrecord(pick.summary));
  QString list = fromrecord(pick.detail);
  list.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  controls_.Text3->setPlainText(list);
  showviewstatus();
}

}  // namespace netglobe
