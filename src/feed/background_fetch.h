#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "feed/http_fetch.h"

namespace netglobe {

// One status download at a time on a thread of its own, so that the window
// keeps drawing and answering while a slow server takes its time. The
// answer is handed back through take() on the thread that started it.
class BackgroundFetch {
 public:
  // The request itself; it must end soon after *cancel is set.
  using Job = std::function<FetchResult(const std::atomic<bool>& cancel)>;

  BackgroundFetch() = default;
  BackgroundFetch(const BackgroundFetch&) = delete;
  BackgroundFetch& operator=(const BackgroundFetch&) = delete;
  // Cancels a request in flight and waits for its thread: nothing is left
  // running on freed state.
  ~BackgroundFetch();

  // Starts job on the worker unless a request is already in flight (then
  // false, and nothing happens). done runs on the worker when the answer is
  // ready: it should only wake the starting thread, which then calls take().
  bool start(Job job, std::function<void()> done);
  bool busy() const { return busy_; }
  // The answer of the finished request, once; nothing while it runs.
  std::optional<FetchResult> take();
  // Asks the request in flight to end and waits for it; its answer is
  // dropped.
  void cancel();

 private:
  void join();

  std::thread worker_;
  std::atomic<bool> cancel_{false};
  std::mutex mutex_;
  std::optional<FetchResult> answer_;  // guarded by mutex_
  bool busy_ = false;                   // touched by the starting thread only
};

}  // namespace netglobe
