#pragma once

#include <QObject>
#include <functional>

#include "base/background_task.h"
#include "session/session.h"

namespace netglobe {

// Runs what the session hands to the window's event loop: the status
// download with its answer's disk work (store, parse, keep, index) and the
// history scan on threads of their own, their results
// back to the session on the window's thread, and the call of next() that
// lets a long sequence go on after pending events.
class SessionDriver : public QObject {
 public:
  using Apply = std::function<void(Effects)>;

  // apply does what the session's answers ask for.
  SessionDriver(Session& session, Apply apply);

  // Begins the download the startup will ask for, while the window opens:
  // its answer is held until the session asks, and handed over then.
  void prefetch();
  void startdownload();
  void scanhistory();
  // Writes the filter to keep on a thread of its own, after the one being
  // written; only the newest waits. stop() writes it if still waiting.
  void keepfilter(std::string query);
  // next() once pending events are handled; one call waits at a time.
  void pump();
  // Cancels both tasks and waits for their threads; nothing more reaches
  // the session afterwards.
  void stop();

 private:
  bool startfetch();
  void answerarrived();
  void historyarrived();
  void filterwritten();

  Session& session_;
  Apply apply_;
  BackgroundTask<TakenAnswer> fetch_;
  BackgroundTask<HistoryIndex> historyscan_;
  BackgroundTask<std::string> filterwrite_;
  std::optional<std::string> nextfilter_;  // asked for while another was written
  // The download begun by prefetch(): running or held until asked for.
  enum class Early { None, Running, Held } early_ = Early::None;
  bool pumpqueued_ = false;
  bool stopped_ = false;
};

}  // namespace netglobe
