// The window's side lists and labels: rows and label layers come from the
// core; the window fills its list boxes, stacks them and compiles labels.
#include <QCoreApplication>
#include <QListWidget>
#include <cstdio>

#include "base/text_encoding.h"
#include "feed/feed_refresh.h"
#include "lists/pilot_labels.h"
#include "lists/side_list_layout.h"
#include "lists/station_labels.h"
#include "shell/record_text.h"
#include "shell/stage.h"

namespace netglobe {

void Stage::say(const std::string& source, const std::string& reason) {
  if (said_.shouldsay(source, reason)) std::fprintf(stderr, "netglobe: %s\n", reason.c_str());
}

void Stage::refreshreferences() {
  refs_.refresh();
  if (friends_.refresh()) {
    for (const std::string& note : friends_.notes()) say("friends.txt", note);
  }
}

void Stage::fillsidelist(int box, const SideList& list, const std::string& source) {
  QListWidget* widget = controls_.listboxes()[static_cast<std::size_t>(box - 1)];
  widget->clear();
  for (const std::string& row : list.rows) {
    auto* item = new QListWidgetItem(fromrecord(row), widget);
    item->setSizeHint(QSize(widget->width(), kSideRowHeight));
  }
  say(source, list.failure);
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

void Stage::refreshsidelists() {
  const std::string path = statusfilepath(feed_.folder);
  // Each list is shown as soon as it is made, with the window's events
  // handled in between.
  const auto step = [this] {
    placesidelists();
    QCoreApplication::processEvents();
  };
  const ObsLists obs = getobs(path);
  fillsidelist(1, obs.listbox1, "getobs");
  fillsidelist(2, obs.listbox2, "getobs");
  step();
  fillsidelist(3, getfriends(path, friends_.ids()), "getfriends");
  step();
  fillsidelist(4, getedbb(path), "getedbb");
  step();
  fillsidelist(5, getinbound(feed_.lists), "getinbound");
  step();
  fillsidelist(6, getoutbound(feed_.lists), "getoutbound");
  step();
}

void Stage::buildstationlabels() {
  compile(showctrname(feed_.lists, refs_.firs));
  compile(showaprname(feed_.lists, refs_.airports, refs_.firs));
  compile(showtwrname(feed_.lists, refs_.airports));
}

void Stage::showpilotname() {
  compile(netglobe::showpilotname(feed_.lists, refs_.airports, scene_.pilotlabelmode));
}

}  // namespace netglobe
