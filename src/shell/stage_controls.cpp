#include "shell/stage_controls.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolButton>
#include <type_traits>

namespace netglobe {
namespace {

constexpr int kListWidth = 273;
constexpr int kListHeight = 32;

void colour(QWidget* w, QColor text, QColor background) {
  QPalette p = w->palette();
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, background);
  p.setColor(QPalette::Window, background);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

QFont boldfont(const char* family, double points) {
  QFont font(QString::fromLatin1(family));
  font.setPointSizeF(points);
  font.setBold(true);
  return font;
}

QListWidget* listbox(QWidget* stage, int top, QColor text, QColor background) {
  auto* list = new QListWidget(stage);
  list->setGeometry(1032, top, kListWidth, kListHeight);
  list->setFont(boldfont("Arial", 9));
  list->setFrameShape(QFrame::NoFrame);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Every row 16 pixels high, as the stacking of the lists counts them.
  list->setUniformItemSizes(true);
  list->setSpacing(0);
  colour(list, text, background);
  list->hide();
  return list;
}

// A text control at its place, in its bold font, without a frame.
template <typename Box>
Box* textcontrol(QWidget* stage, QRect geometry, const char* family, double points) {
  auto* box = new Box(stage);
  box->setGeometry(geometry);
  box->setFont(boldfont(family, points));
  if constexpr (std::is_base_of_v<QFrame, Box>) {
    box->setFrameShape(QFrame::NoFrame);
  } else {
    box->setFrame(false);
  }
  return box;
}

QPlainTextEdit* textbox(QWidget* stage, QRect geometry, const char* family, double points) {
  auto* box = textcontrol<QPlainTextEdit>(stage, geometry, family, points);
  box->setReadOnly(true);
  box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  return box;
}

QLineEdit* lineedit(QWidget* stage, QRect geometry, const char* family, double points) {
  return textcontrol<QLineEdit>(stage, geometry, family, points);
}

}  // namespace

StageControls buildcontrols(QWidget* stage) {
  // The text boxes ask for a dialog font that Linux desktops lack.
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));

  StageControls c;
  c.Pict = new QLabel(stage);
  c.Pict->setGeometry(256, 88, 97, 81);
  c.Pict->hide();

  c.Text1 = lineedit(stage, {0, 940, 129, 19}, "MS Sans Serif", 8.25);
  colour(c.Text1, QColor(0, 0, 255), QColor(255, 255, 0));

  c.Text2 = textbox(stage, {0, 88, 121, 219}, "MS Sans Serif", 8.25);
  colour(c.Text2, QColor(0, 0, 64), QColor(255, 255, 255));

  c.Text3 = textbox(stage, {0, 0, 161, 65}, "Arial", 6.75);
  colour(c.Text3, QColor(0, 0, 128), QColor(255, 255, 0));
  c.Text3->setPlainText(QStringLiteral("Text3"));
  c.Text3->hide();

  c.Text4 = lineedit(stage, {0, 0, 161, 13}, "Arial", 6.75);
  colour(c.Text4, QColor(0, 0, 128), QColor(255, 255, 0));
  c.Text4->setReadOnly(true);

  c.Listbox1 = listbox(stage, 0, QColor(0, 0, 128), QColor(255, 128, 128));
  c.Listbox2 = listbox(stage, 40, QColor(0, 0, 128), QColor(0, 255, 255));
  c.Listbox3 = listbox(stage, 80, QColor(0, 0, 128), QColor(0, 255, 0));
  c.Listbox4 = listbox(stage, 120, QColor(0, 0, 128), QColor(255, 255, 0));
  c.Listbox5 = listbox(stage, 160, QColor(0, 0, 64), QColor(255, 255, 255));
  c.Listbox6 = listbox(stage, 200, QColor(0, 0, 64), QColor(255, 192, 192));

  // The search field lies over the top of the globe area, clear of the
  // pick boxes at the left and the side lists at the right; closed at first.
  c.Search = new QLineEdit(stage);
  c.Search->setGeometry(200, 4, 360, 22);
  c.Search->setFont(boldfont("Arial", 9));
  c.Search->setPlaceholderText(QStringLiteral("callsign, member id or name"));
  c.Matches = listbox(stage, 0, QColor(0, 0, 128), QColor(255, 255, 255));
  c.Matches->setGeometry(200, 26, 360, 0);
  c.Matches->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  c.SearchNote = new QLabel(stage);
  c.SearchNote->setFont(boldfont("Arial", 8));
  colour(c.SearchNote, QColor(0, 0, 128), QColor(255, 255, 200));
  c.SearchNote->setGeometry(200, 26, 360, 16);
  c.FilterToggle = new QToolButton(stage);
  c.FilterToggle->setGeometry(562, 4, 48, 22);
  c.FilterToggle->setFont(boldfont("Arial", 8));
  c.FilterToggle->setText(QStringLiteral("Filter"));
  c.FilterToggle->setCheckable(true);
  c.FilterToggle->setToolTip(QStringLiteral("Draw only the clients that match (Ctrl+Return)"));
  // Messages such as a friend coming online, clear of the pick boxes above.
  c.Notice = lineedit(stage, {0, 66, 400, 15}, "Arial", 7.5);
  colour(c.Notice, QColor(0, 0, 128), QColor(255, 255, 200));
  c.Notice->setReadOnly(true);
  c.Notice->setFocusPolicy(Qt::ClickFocus);
  c.Notice->hide();
  for (QWidget* w : {static_cast<QWidget*>(c.Search), static_cast<QWidget*>(c.Matches),
                     static_cast<QWidget*>(c.SearchNote), static_cast<QWidget*>(c.FilterToggle)}) {
    w->hide();
  }

  QWidget::setTabOrder(c.Text1, c.Text2);
  QWidget::setTabOrder(c.Text2, c.Text3);
  QWidget::setTabOrder(c.Text3, c.Text4);
  QWidget* previous = c.Text4;
  for (QListWidget* list : c.listboxes()) {
    QWidget::setTabOrder(previous, list);
    previous = list;
  }
  return c;
}

}  // namespace netglobe
