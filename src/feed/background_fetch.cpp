#include "feed/background_fetch.h"

#include <utility>

namespace netglobe {

BackgroundFetch::~BackgroundFetch() { cancel(); }

bool BackgroundFetch::start(Job job, std::function<void()> done) {
  if (busy_) return false;
  join();  // the previous request's thread has finished its work already
  busy_ = true;
  cancel_ = false;
  worker_ = std::thread([this, job = std::move(job), done = std::move(done)] {
    FetchResult result = job(cancel_);
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      answer_ = std::move(result);
    }
    if (done) done();
  });
  return true;
}

std::optional<FetchResult> BackgroundFetch::take() {
  std::optional<FetchResult> answer;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    answer.swap(answer_);
  }
  if (answer) {
    busy_ = false;
    join();
  }
  return answer;
}

void BackgroundFetch::cancel() {
  cancel_ = true;
  join();
  const std::lock_guard<std::mutex> lock(mutex_);
  answer_.reset();
  busy_ = false;
}

void BackgroundFetch::join() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace netglobe
