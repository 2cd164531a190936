// What the session asks the window to do, done in the order of Effects'
// fields.
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QListWidget>
#include <cstdio>

#include "shell/details_panel_widget.h"
#include "shell/record_text.h"
#include "shell/stage.h"

namespace netglobe {

void Stage::apply(Effects e) {
  if (closed_) return;
  if (e.logtext) {
    QString shown = QString::fromUtf8(*e.logtext);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    controls_.Text2->setPlainText(shown);
  }
  if (e.title) setWindowTitle(fromrecord(*e.title));
  dogl(e.gl);
  for (const Layer& layer : e.layers) {
    if (gl_.isopen()) incontext([&] { gl_.compile(layer); });
  }
  for (const SideListRows& list : e.sidelists) fillsidelist(list);
  if (!e.sidelists.empty()) placesidelists();
  for (const ListShow& list : e.listshow) {
    controls_.listboxes()[static_cast<std::size_t>(list.listbox - 1)]->setVisible(list.visible);
  }
  for (const TimerSwitch& change : e.timers) switchtimer(change);
  if (e.cornerform) showcornerform();
  if (e.pick) showpick(*e.pick);
  if (e.summary) controls_.Text4->setText(fromrecord(*e.summary));
  if (e.search) showsearch(*e.search);
  if (e.details) details_->display(*e.details);
  if (e.focusstatus) controls_.Text1->setFocus();
  if (e.hidelog) controls_.Text2->hide();
  for (const std::string& note : e.notes) std::fprintf(stderr, "netglobe: %s\n", note.c_str());
  shownotices(e);
  if (e.pickat) pickat(e.pickat->first, e.pickat->second);
  if (e.render) Render();
  if (e.startdownload) driver_.startdownload();
  if (e.scanhistory) driver_.scanhistory();
  if (e.keepfilter) driver_.keepfilter(*e.keepfilter);
  if (e.startupfinished) emit startupfinished();
  // The window handles what is pending before the sequence goes on.
  if (e.more) driver_.pump();
}

void Stage::dogl(GlWork work) {
  if (work == GlWork::None || !gl_.isopen()) return;
  switch (work) {
    case GlWork::StartState: incontext([this] { gl_.setstartstate(); }); break;
    case GlWork::LoadTexture: {
      // The image read since the window began to open; read here only
      // when that was used up already.
      GlobeImage read = globeimage_.valid() ? globeimage_.get() : readglobeimage(session_.globeimagefile());
      const TextureLoad texture = incontext(
          [this, &read] { return gl_.loadglobetexture(session_.globeimagefile(), std::move(read)); });
      apply(session_.textureloaded(texture.ok, texture.reason));
      break;
    }
    case GlWork::BuildGlobes: incontext([this] { gl_.buildglobes(); }); break;
    case GlWork::PrepareFrame:
      incontext([this] { gl_.prepareframe(session_.scene(), session_.view()); });
      break;
    case GlWork::None: break;
  }
}

void Stage::switchtimer(const TimerSwitch& change) {
  QTimer& timer = *timers_.at(change.timer);
  if (change.on) {
    timer.start();
  } else {
    timer.stop();
  }
}

}  // namespace netglobe
