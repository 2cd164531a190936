// The window's keys and mouse: each event is turned into a step of the core
// (the key table, the mouse steps, the pick decoding) and its result applied.
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QWheelEvent>

#include "base/text_encoding.h"
#include "shell/record_text.h"
#include "lists/pick_decode.h"
#include "scene/flight.h"
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
  if (!started_) return;
  // The key table speaks windows-1252, whatever the keyboard layout sends.
  for (const char c : tocp1252(text.toStdString())) {
    runkey(keyaction(static_cast<unsigned char>(c), scene_, view_, globeimage_));
  }
}

void Stage::runkey(const KeyAction& action) {
  scene_ = action.scene;
  view_ = action.view;
  if (action.startflight) {
    Timer2.start();
    controls_.Text1->setFocus();
  }
  if (action.cornerform) showcornerform();
  if (action.startzoom) Timer3.start();
  for (const Rebuild& layer : action.rebuilds) rebuild(layer);
  for (const ListShow& list : action.lists) {
    controls_.listboxes()[static_cast<std::size_t>(list.listbox - 1)]->setVisible(list.visible);
  }
  if (action.render) Render();
}

void Stage::showcornerform() {
  const CornerForm corner;
  setWindowState(Qt::WindowNoState);
  move(corner.left, corner.top);
  // The corner form's size is the outer size, frame included.
  const QSize frame = frameGeometry().size() - size();
  resize(corner.width - frame.width(), corner.height - frame.height());
}

void Stage::flighttick() {
  if (gohome(view_) == FlightStep::Arrived) {
    Timer2.stop();
    Timer4.start();
  } else {
    Render();
  }
}

void Stage::mousePressEvent(QMouseEvent* event) {
  Timer2.stop();
  const QPointF at = event->position();
  mousedown(pointer_, buttoncode(event->button()), float(at.x()), float(at.y()));
  Timer3.stop();
  event->accept();
}

void Stage::mouseReleaseEvent(QMouseEvent* event) {
  mouseup(pointer_, buttoncode(event->button()));
  event->accept();
}

void Stage::mouseMoveEvent(QMouseEvent* event) {
  const QPointF at = event->position();
  if (mousemove(view_, pointer_, heldbuttons(event->buttons()), float(at.x()), float(at.y()))) {
    Render();
  }
  pickup(float(at.x()), float(at.y()));
  event->accept();
}

void Stage::wheelEvent(QWheelEvent* event) {
  const float notches = float(event->angleDelta().y()) / 120.0f;
  if (notches != 0.0f) {
    wheelzoom(view_, notches);
    Render();
    const QPointF at = event->position();
    pickup(float(at.x()), float(at.y()));
  }
  event->accept();
}

void Stage::pickup(float x, float y) {
  if (!gl_.isopen() || !started_) return;
  // The selection pass runs in window pixels; on a scaled screen the
  // framebuffer has more of them than the event positions count.
  const float scale = float(devicePixelRatioF());
  const PickHits hits = incontext([&] { return gl_.pick(x * scale, y * scale, scene_, view_); });
  const PickOutcome outcome = decodehits(hits.hits, hits.selbuf, pickedname_, feed_.lists);
  pickedname_ = outcome.pickedname;
  controls_.Text4->setText(fromrecord(outcome.summary));
  QString list = fromrecord(outcome.listtext());
  list.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  controls_.Text3->setPlainText(list);
  controls_.Text1->setText(QString::fromStdString(viewstatusline(view_)));
  controls_.Text1->setFocus();
}

void Stage::rebuild(const Rebuild& layer) {
  switch (layer.layer) {
    case LayerBuild::Aircraft: buildaircraft(layer.size); break;
    case LayerBuild::Approach: buildapp(layer.size); break;
    case LayerBuild::ActiveFir: buildactfir(); break;
    case LayerBuild::PilotLabels: showpilotname(); break;
  }
}

}  // namespace netglobe
