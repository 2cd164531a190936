#pragma once

#include <QFrame>

#include "lists/flight_details.h"

class QLabel;
class QTextBrowser;
class QToolButton;

namespace netglobe {

// The details panel at the bottom left of the window: a title with a close
// button, and the lines of a pilot or an aerodrome below it, wrapped. Lines
// that name a pilot are links. It says what happens through its signals and
// leaves the deciding to the session.
class DetailsPanelWidget : public QFrame {
  Q_OBJECT

 public:
  explicit DetailsPanelWidget(QWidget* stage);

  // Shows the view (or hides the panel for a closed one) and places it.
  void display(const DetailsView& view);
  // Bottom left of the stage, as high as its text needs up to half the
  // stage, and narrow enough to stay clear of the side lists.
  void place(int stagewidth, int stageheight, int listsleft);

 signals:
  void closerequested();
  void linechosen(int line);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* title_;
  QToolButton* close_;
  QTextBrowser* body_;
  int stagewidth_ = 0, stageheight_ = 0, listsleft_ = 0;
};

}  // namespace netglobe
