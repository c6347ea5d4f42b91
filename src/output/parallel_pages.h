#pragma once

// The page passes of one output run on a pool of threads. Pages are
// independent until their tables are appended, so each worker takes the next
// page, reads its source from the store (one worker at a time, pages in
// ascending order, as the single-threaded run reads them) and composes and
// writes it without the lock. The calling thread receives the results in page
// order, so everything it does with them (tables, messages, progress) happens
// exactly as in a run with one job.

#include <functional>

#include "output/page_pass.h"

namespace piconel {

struct ParallelPages {
  int page_count = 0;
  int jobs = 2;
  // Under the lock, for pages 0, 1, 2 ... in that order.
  std::function<PageSource(int page)> read;
  // On a worker thread, without the lock.
  std::function<PagePassResult(int page, const PageSource& source)> compose;
  // On the calling thread, for pages 0, 1, 2 ... in that order.
  std::function<void(int page, PagePassResult& result)> finish;
};

// False (nothing done) when not a single thread could be started; the
// caller then runs the pages itself.
[[nodiscard]] bool run_parallel_pages(const ParallelPages& work);

}  // namespace piconel
