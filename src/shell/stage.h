#pragma once

#include <QOpenGLWidget>
#include <QTimer>
#include <memory>
#include <string>

#include "base/program_folders.h"
#include "feed/feed_refresh.h"
#include "feed/peak_file.h"
#include "refdata/directories.h"
#include "lists/said_once.h"
#include "lists/side_lists.h"
#include "refdata/friends_file.h"
#include "scene/key_table.h"
#include "scene/mouse_steps.h"
#include "render/gl_scene.h"
#include "scene/layer.h"
#include "scene/scene_state.h"
#include "scene/view_status.h"
#include "shell/stage_controls.h"

namespace netglobe {

// The one window: owns the controls, the view, the scene switches and the
// status feed, and drives them from its events and timers.
class Stage : public QOpenGLWidget, private FeedHost {
  Q_OBJECT

 public:
  // The program's folder holds the files the window writes; the reference
  // files may lie elsewhere.
  Stage(std::optional<FeedSource> source, const ProgramFolders& folders, int refreshseconds = 30,
        QWidget* parent = nullptr);
  // Everything in one folder.
  Stage(std::optional<FeedSource> source, const std::string& folder, int refreshseconds = 30,
        QWidget* parent = nullptr);
  ~Stage() override;

  // Draws one frame from the display lists and presents it.
  void Render();

  const StageControls& controls() const { return controls_; }
  SceneState& scene() { return scene_; }
  ViewState& view() { return view_; }
  const FeedState& feed() const { return feed_; }
  const std::string& startuplog() const { return log_; }
  bool started() const { return started_; }
  bool alwaysontop() const { return alwaysontop_; }
  // Compiles a layer into its scene list and marks it built. A layer whose
  // build stopped early is compiled with what it holds, and why is said
  // once on stderr.
  void compile(const Layer& layer);
  // Removes a layer from the scene until it is built again.
  void discard(int list);
  const ReadyLists& ready() const { return gl_.ready(); }

 signals:
  void startupfinished();

 protected:
  void initializeGL() override;
  void paintGL() override;
  void resizeGL(int w, int h) override;
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
  // FeedHost
  void settitle(const std::string& title) override;
  void refreshsidelists() override;

  // Side lists and labels (stage_lists.cpp).
  void fillsidelist(int box, const SideList& list, const std::string& source);
  void placesidelists();
  void buildstationlabels();
  void showpilotname();
  void refreshreferences();
  void say(const std::string& source, const std::string& reason);

  void startup();
  void shutdown();
  void logline(const std::string& line);
  void drawscene();
  void updatealwaysontop();
  // Runs f with the window's GL context current.
  template <class F>
  auto incontext(F f) {
    makeCurrent();
    struct Done {
      Stage* stage;
      ~Done() { stage->doneCurrent(); }
    } done{this};
    return f();
  }

  // Keys and mouse (stage_input.cpp).
  void typed(const QString& text);
  void runkey(const KeyAction& action);
  void rebuild(const Rebuild& layer);
  void showcornerform();
  void pickup(float x, float y);
  void flighttick();  // Timer2

  // The traffic layers from the current status lists and reference data.
  void buildtraffic(double towersize);
  void buildaircraft(double rad);
  void buildapp(double rad);
  void buildactfir();

  void refreshtick();    // Timer1
  void zoomtick();       // Timer3
  void labelswitchtick();  // Timer4

  StageControls controls_;
  SceneState scene_;
  ViewState view_;
  FeedState feed_;
  std::string log_;  // the startup log, UTF-8 (file names in it are not windows-1252)

  GlScene gl_;
  ReferenceFiles files_;
  RefDirectories refs_;
  FriendsFile friends_;
  SaidOnce said_;  // failures that last are said once, not at every refresh

  Pointer pointer_;              // last mouse position and left drag
  std::uint32_t pickedname_ = 0;  // object the pick summary names
  PeakFile peak_;
  bool globeimage_ = false;      // the globe image was loaded

  QTimer Timer1;  // feed refresh
  QTimer Timer2;  // flight to a region
  QTimer Timer3;  // zoom-in after startup
  QTimer Timer4;  // one-shot pilot-label switch

  std::string glfailure_;
  bool startupqueued_ = false;
  bool started_ = false;
  bool refreshing_ = false;
  bool framewaiting_ = false;  // a frame drawn outside paintGL awaits showing
  bool alwaysontop_ = false;
  bool shutdowndone_ = false;
};

}  // namespace netglobe
