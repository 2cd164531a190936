#include "shell/session_driver.h"

#include <QTimer>

namespace netglobe {

SessionDriver::SessionDriver(Session& session, Apply apply) : session_(session), apply_(std::move(apply)) {}

void SessionDriver::prefetch() {
  if (stopped_ || early_ != Early::None || !startfetch()) return;
  early_ = Early::Running;
}

void SessionDriver::startdownload() {
  if (stopped_) return;
  // The download begun early is the one asked for: its answer is handed
  // over now if it is in, else when it arrives.
  if (early_ != Early::None) {
    const bool held = early_ == Early::Held;
    early_ = Early::None;
    if (held) answerarrived();
    return;
  }
  // The session waits for an answer: a download that cannot start is a
  // failed one, handed over once the window is back in its event loop.
  if (!startfetch()) {
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (!stopped_) apply_(session_.downloaded(failedanswer("a download is still running")));
        },
        Qt::QueuedConnection);
  }
}

bool SessionDriver::startfetch() {
  // The request runs on its own thread; the answer comes back to this one
  // as a queued call, and the window lives meanwhile.
  std::optional<FetchRequest> request = session_.downloadrequest();
  // The answer is stored, parsed, kept and indexed there too: the window's
  // thread never waits on the disk for it. One download at a time keeps the
  // copies and the history in the order of their answers.
  return fetch_.start(
      [request, take = session_.answerjob()](const std::atomic<bool>& cancel) mutable {
        if (request) request->cancel = &cancel;
        return take(fetchanswer(request));
      },
      [this] { QMetaObject::invokeMethod(this, [this] { answerarrived(); }, Qt::QueuedConnection); });
}

void SessionDriver::answerarrived() {
  if (stopped_) return;
  // Not asked for yet: it waits in the task until the session asks.
  if (early_ == Early::Running) {
    early_ = Early::Held;
    return;
  }
  if (std::optional<TakenAnswer> answer = fetch_.take()) apply_(session_.downloaded(std::move(*answer)));
}

void SessionDriver::scanhistory() {
  if (stopped_) return;
  const std::string folder = session_.historyfolder();
  historyscan_.start([folder](const std::atomic<bool>& cancel) { return netglobe::scanhistory(folder, &cancel); },
                     [this] { QMetaObject::invokeMethod(this, [this] { historyarrived(); }, Qt::QueuedConnection); });
}

void SessionDriver::historyarrived() {
  if (stopped_) return;
  if (std::optional<HistoryIndex> found = historyscan_.take()) apply_(session_.historyfound(std::move(*found)));
}

void SessionDriver::pump() {
  if (stopped_ || pumpqueued_) return;
  pumpqueued_ = true;
  QTimer::singleShot(0, this, [this] {
    pumpqueued_ = false;
    if (!stopped_) apply_(session_.next());
  });
}

void SessionDriver::keepfilter(std::string query) {
  if (stopped_) return;
  if (filterwrite_.busy()) {
    nextfilter_ = std::move(query);
    return;
  }
  filterwrite_.start([query = std::move(query), write = session_.filterjob()](const std::atomic<bool>&) {
    return write(query);
  },
                     [this] { QMetaObject::invokeMethod(this, [this] { filterwritten(); }, Qt::QueuedConnection); });
}

void SessionDriver::filterwritten() {
  if (stopped_) return;
  if (std::optional<std::string> failure = filterwrite_.take()) apply_(session_.filterkept(*failure));
  if (nextfilter_) {
    std::string query = std::move(*nextfilter_);
    nextfilter_.reset();
    keepfilter(std::move(query));
  }
}

void SessionDriver::stop() {
  stopped_ = true;
  fetch_.cancel();
  historyscan_.cancel();
  // The filter of this run is kept for the next, whatever was still on its
  // way: the write in flight ends first (its job does not look at cancel).
  filterwrite_.cancel();
  if (nextfilter_) {
    const std::string failure = session_.filterjob()(*nextfilter_);
    nextfilter_.reset();
    if (!failure.empty()) apply_(session_.filterkept(failure));
  }
}

}  // namespace netglobe
