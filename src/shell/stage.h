#pragma once

#include <QImage>
#include <QWidget>
#include <QTimer>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "base/program_folders.h"
#include "render/gl_scene.h"
#include "session/session.h"
#include "shell/desktop_notifier.h"
#include "shell/globe_surface.h"
#include "shell/session_driver.h"
#include "shell/stage_controls.h"

namespace netglobe {

class DetailsPanelWidget;

// The one window: the globe's GL surface, the controls over it and the
// timers. It hands every event to the session and does what the session
// answers; the program's state is the session's, and its driver runs the
// background tasks and the steps of long sequences.
class Stage : public QWidget {
  Q_OBJECT

 public:
  // The program's folder holds the files the window writes; the reference
  // files may lie elsewhere.
  Stage(std::optional<FeedSource> source, const ProgramFolders& folders, int refreshseconds = 30,
        HistoryRetention history = HistoryRetention::hours(kDefaultHistoryHours),
        QWidget* parent = nullptr);
  // Everything in one folder.
  Stage(std::optional<FeedSource> source, const std::string& folder, int refreshseconds = 30,
        QWidget* parent = nullptr);
  ~Stage() override;

  // Draws one frame from the display lists and presents it.
  void Render();
  // Draws the frame and reads it back, as it goes on screen.
  QImage grabFramebuffer();
  // The globe's GL context, for callers that wait on its work.
  void makeCurrent() { surface_->makecurrent(); }
  void doneCurrent() { surface_->donecurrent(); }

  const StageControls& controls() const { return controls_; }
  const Session& session() const { return session_; }
  // No desktop notifications (--quiet); the status line still says it.
  void setquiet(bool quiet) { notifier_.setenabled(!quiet); }
  const DetailsPanelWidget* detailspanel() const { return details_; }
  // A check of the GL context begun elsewhere: the window waits for it
  // before it first shows, and ends the program with the one message box
  // when there is no usable context.
  void checkglfirst(std::future<std::string> problem) { glprobe_ = std::move(problem); }
  // The aerodromes of the inbound and outbound lists for this run (--home).
  void sethomeairports(std::vector<std::string> codes) { session_.sethomeairports(std::move(codes)); }

 signals:
  void startupfinished();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Does what the session asked for, in the order of Effects' fields.
  void apply(Effects effects);
  void dogl(GlWork work);
  void fillsidelist(const SideListRows& list);
  void placesidelists();
  void showpick(const PickText& pick);
  void showsearch(const SearchView& search);
  void connectsearch();
  void connectfilter();
  void shownotices(const Effects& effects);
  void connectdetails();
  void placedetails();
  void pickat(float x, float y);
  void switchtimer(const TimerSwitch& change);
  void maketimers();

  // Makes the GL context once the window is on its way to the screen.
  void opengl();
  void surfaceresized(int w, int h);
  // Controls over the globe's surface must be native windows to stay
  // above it.
  void raisecontrols();

  void startup();
  void shutdown();
  void drawscene();
  // The view's values in the status line.
  void showviewstatus();
  void updatealwaysontop();
  void typed(const QString& text);
  void showcornerform();
  // Runs f with the window's GL context current.
  template <class F>
  auto incontext(F f) {
    surface_->makecurrent();
    struct Done {
      GlobeSurface* surface;
      ~Done() { surface->donecurrent(); }
    } done{surface_};
    return f();
  }

  Session session_;
  // The globe image, read and decoded while the window opens; uploaded by
  // the startup's texture step.
  std::future<GlobeImage> globeimage_;
  GlobeSurface* surface_ = nullptr;  // owned by its container
  QWidget* surfacebox_ = nullptr;     // holds the surface, under the controls
  StageControls controls_;
  DetailsPanelWidget* details_ = nullptr;
  GlScene gl_;
  SessionDriver driver_;
  DesktopNotifier notifier_;
  std::map<TimerId, std::unique_ptr<QTimer>> timers_;  // the session's, by id

  std::future<std::string> glprobe_;
  std::string glfailure_;
  bool startupqueued_ = false;
  bool alwaysontop_ = false;  // the stay-on-top hint as last set
  bool closed_ = false;
};

}  // namespace netglobe
