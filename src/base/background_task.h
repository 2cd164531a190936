#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace netglobe {

// One job at a time on a thread of its own, so that the window keeps
// drawing and answering while a slow server or a large folder takes its
// time. The result is handed back through take() on the thread that started
// the job.
template <class Result>
class BackgroundTask {
 public:
  // The job itself; it should end soon after *cancel is set.
  using Job = std::function<Result(const std::atomic<bool>& cancel)>;

  BackgroundTask() = default;
  BackgroundTask(const BackgroundTask&) = delete;
  BackgroundTask& operator=(const BackgroundTask&) = delete;
  // Cancels a job in flight and waits for its thread: nothing is left
  // running on freed state.
  ~BackgroundTask() { cancel(); }

  // Starts job on the worker unless one is already in flight (then false,
  // and nothing happens). done runs on the worker when the result is ready:
  // it should only wake the starting thread, which then calls take().
  bool start(Job job, std::function<void()> done) {
    if (busy_) return false;
    join();  // the previous job's thread has finished its work already
    busy_ = true;
    cancel_ = false;
    worker_ = std::thread([this, job = std::move(job), done = std::move(done)] {
      Result result = job(cancel_);
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        result_ = std::move(result);
      }
      if (done) done();
    });
    return true;
  }

  bool busy() const { return busy_; }

  // The result of the finished job, once; nothing while it runs.
  std::optional<Result> take() {
    std::optional<Result> result;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      result.swap(result_);
    }
    if (result) {
      busy_ = false;
      join();
    }
    return result;
  }

  // Asks the job in flight to end and waits for it; its result is dropped.
  void cancel() {
    cancel_ = true;
    join();
    const std::lock_guard<std::mutex> lock(mutex_);
    result_.reset();
    busy_ = false;
  }

 private:
  void join() {
    if (worker_.joinable()) worker_.join();
  }

  std::thread worker_;
  std::atomic<bool> cancel_{false};
  std::mutex mutex_;
  std::optional<Result> result_;  // guarded by mutex_
  bool busy_ = false;             // touched by the starting thread only
};

}  // namespace netglobe
