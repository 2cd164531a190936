#include "session/effects_merge.h"

#include <utility>

namespace netglobe {

void append(Effects& into, Effects&& from) {
  if (from.logtext) into.logtext = std::move(from.logtext);
  if (from.title) into.title = std::move(from.title);
  if (from.gl != GlWork::None) into.gl = from.gl;
  for (Layer& layer : from.layers) into.layers.push_back(std::move(layer));
  for (SideListRows& rows : from.sidelists) into.sidelists.push_back(std::move(rows));
  into.listshow.insert(into.listshow.end(), from.listshow.begin(), from.listshow.end());
  into.timers.insert(into.timers.end(), from.timers.begin(), from.timers.end());
  into.cornerform = into.cornerform || from.cornerform;
  if (from.pick) into.pick = std::move(from.pick);
  if (from.summary) into.summary = std::move(from.summary);
  if (from.search) into.search = std::move(from.search);
  if (from.details) into.details = std::move(from.details);
  into.focusstatus = into.focusstatus || from.focusstatus;
  into.hidelog = into.hidelog || from.hidelog;
  for (std::string& note : from.notes) into.notes.push_back(std::move(note));
  if (from.notice) into.notice = std::move(from.notice);
  for (std::string& notice : from.notify) into.notify.push_back(std::move(notice));
  if (from.pickat) into.pickat = from.pickat;
  into.render = into.render || from.render;
  into.startdownload = into.startdownload || from.startdownload;
  into.scanhistory = into.scanhistory || from.scanhistory;
  if (from.keepfilter) into.keepfilter = std::move(from.keepfilter);
  into.startupfinished = into.startupfinished || from.startupfinished;
  into.more = from.more;
}

}  // namespace netglobe
