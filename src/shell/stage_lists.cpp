// The window's side lists: the rows come from the session; the window fills
// its list boxes and stacks them by their rows.
#include <QListWidget>

#include "lists/side_list_layout.h"
#include "shell/record_text.h"
#include "shell/stage.h"

namespace netglobe {

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
