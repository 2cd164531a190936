// The window's side lists: the rows come from the session; the window fills
// its list boxes and stacks them by their rows.
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QShortcut>
#include <QToolButton>

#include "base/text_encoding.h"
#include "lists/side_list_layout.h"
#include "shell/record_text.h"
#include "shell/stage.h"

namespace netglobe {

void Stage::connectsearch() {
  auto* find = new QShortcut(QKeySequence::Find, this);
  find->setContext(Qt::WindowShortcut);
  connect(find, &QShortcut::activated, this, [this] { apply(session_.opensearch()); });
  controls_.Search->installEventFilter(this);  // Esc closes it
  connect(controls_.Search, &QLineEdit::textEdited, this, [this](const QString& text) {
    apply(session_.searchfor(tocp1252(text.toStdString())));
  });
  connect(controls_.Search, &QLineEdit::returnPressed, this, [this] { apply(session_.choosematch(0)); });
  connect(controls_.Matches, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    apply(session_.choosematch(static_cast<std::size_t>(controls_.Matches->row(item))));
  });
  const auto boxes = controls_.listboxes();
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    QListWidget* box = boxes[i];
    connect(box, &QListWidget::itemDoubleClicked, this, [this, box, i](QListWidgetItem* item) {
      apply(session_.choosesidelistrow(int(i) + 1, static_cast<std::size_t>(box->row(item))));
    });
  }
}

void Stage::showsearch(const SearchView& search) {
  QLineEdit* field = controls_.Search;
  QListWidget* matches = controls_.Matches;
  QLabel* note = controls_.SearchNote;
  controls_.FilterToggle->setChecked(search.filtering);
  if (!search.open) {
    for (QWidget* w : {static_cast<QWidget*>(field), static_cast<QWidget*>(matches),
                       static_cast<QWidget*>(note), static_cast<QWidget*>(controls_.FilterToggle)}) {
      w->hide();
    }
    field->clear();
    return;
  }
  if (!field->isVisible()) {
    field->clear();
    field->show();
    field->raise();
    controls_.FilterToggle->show();
    controls_.FilterToggle->raise();
  }
  if (search.text) field->setText(fromrecord(*search.text));
  field->setFocus();
  matches->clear();
  for (const std::string& row : search.rows) {
    auto* item = new QListWidgetItem(fromrecord(row), matches);
    item->setSizeHint(QSize(matches->width(), kSideRowHeight));
  }
  const int height = int(search.rows.size()) * kSideRowHeight;
  matches->setGeometry(matches->x(), field->geometry().bottom() + 1, matches->width(), height);
  matches->setVisible(!search.rows.empty());
  matches->raise();
  note->setText(fromrecord(search.footer));
  note->move(note->x(), field->geometry().bottom() + 1 + height);
  note->setVisible(!search.footer.empty());
  note->raise();
}

void Stage::fillsidelist(const SideListRows& list) {
  QListWidget* widget = controls_.listboxes()[static_cast<std::size_t>(list.box - 1)];
  widget->clear();
  for (const std::string& row : list.rows) {
    auto* item = new QListWidgetItem(fromrecord(row), widget);
    item->setSizeHint(QSize(widget->width(), kSideRowHeight));
  }
}

void Stage::placesidelists() {
  std::array<std::size_t, kSideBoxes> rows{};
  const auto boxes = controls_.listboxes();
  for (std::size_t i = 0; i < boxes.size(); ++i) rows[i] = static_cast<std::size_t>(boxes[i]->count());
  const auto places = stacksidelists(rows);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    boxes[i]->setGeometry(boxes[i]->x(), places[i].top, boxes[i]->width(), places[i].height);
  }
}

}  // namespace netglobe
