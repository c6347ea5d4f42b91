#include "output/parallel_pages.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace piconel {
namespace {

class PageQueue {
 public:
  explicit PageQueue(const ParallelPages& work)
      : work_(work), results_(static_cast<std::size_t>(work.page_count)) {}

  void work() {
    for (;;) {
      std::unique_lock lock(mutex_);
      if (next_ >= work_.page_count) {
        return;
      }
      const int page = next_++;
      const PageSource source = work_.read(page);
      lock.unlock();
      PagePassResult result = work_.compose(page, source);
      lock.lock();
      results_[static_cast<std::size_t>(page)] = std::move(result);
      done_.notify_all();
    }
  }

  void finish_in_order() {
    for (int page = 0; page < work_.page_count; ++page) {
      std::optional<PagePassResult>& slot = results_[static_cast<std::size_t>(page)];
      std::unique_lock lock(mutex_);
      done_.wait(lock, [&] { return slot.has_value(); });
      PagePassResult result = std::move(*slot);
      slot.reset();
      lock.unlock();
      work_.finish(page, result);
    }
  }

 private:
  const ParallelPages& work_;
  std::mutex mutex_;
  std::condition_variable done_;
  int next_ = 0;
  std::vector<std::optional<PagePassResult>> results_;
};

}  // namespace

bool run_parallel_pages(const ParallelPages& work) {
  PageQueue queue(work);
  std::vector<std::thread> threads;
  threads.reserve(static_cast<std::size_t>(work.jobs));
  for (int i = 0; i < work.jobs; ++i) {
    try {
      threads.emplace_back([&queue] { queue.work(); });
    } catch (const std::system_error&) {
      break;  // the threads already started do the work
    }
  }
  if (threads.empty()) {
    return false;
  }
  queue.finish_in_order();
  for (std::thread& thread : threads) {
    thread.join();
  }
  return true;
}

}  // namespace piconel
