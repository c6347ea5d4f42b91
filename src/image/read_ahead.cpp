#include "image/read_ahead.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

#include "image/load_image.h"
#include "store/no_throw.h"

namespace piconel {

int one_job_per_core() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(std::min(cores, 64u));
}

namespace {

class ReadAheadWork {
 public:
  ReadAheadWork(std::vector<ReadAheadFile>& slots, const PictureDecoder* decoders,
                std::size_t budget_bytes)
      : slots_(slots), decoders_(decoders), budget_(budget_bytes) {}

  void work() {
    for (std::size_t index = next_++; index < slots_.size() && !full_; index = next_++) {
      ReadAheadFile& slot = slots_[index];
      LoadImageRequest request;
      request.path = slot.path;
      request.decoders = decoders_;
      std::optional<DecodedFile> file = decode_image(request);
      const std::size_t bytes = file ? file->dib.pixels.size() : 0;
      if (held_.fetch_add(bytes) + bytes > budget_) {
        full_ = true;
        continue;  // left for its row to read
      }
      slot.file = std::move(file);
      slot.ready = true;
    }
  }

 private:
  std::vector<ReadAheadFile>& slots_;
  const PictureDecoder* decoders_;
  std::size_t budget_;
  std::atomic<std::size_t> next_{0};
  std::atomic<std::size_t> held_{0};
  std::atomic<bool> full_{false};
};

}  // namespace

std::vector<ReadAheadFile> read_ahead(std::span<const std::string> paths,
                                      const PictureDecoder* decoders, int jobs,
                                      std::size_t budget_bytes) {
  std::vector<ReadAheadFile> slots;
  if (!allocation_succeeds([&] {
        slots.resize(paths.size());
        for (std::size_t i = 0; i < paths.size(); ++i) {
          slots[i].path = paths[i];
        }
      })) {
    return {};
  }
  ReadAheadWork work(slots, decoders, budget_bytes);
  std::vector<std::thread> helpers;
  const std::size_t count = std::min(static_cast<std::size_t>(std::max(jobs, 1)) - 1, paths.size());
  if (!allocation_succeeds([&] { helpers.reserve(count); })) {
    return slots;
  }
  while (helpers.size() < count) {
    try {
      helpers.emplace_back([&work] { work.work(); });
    } catch (const std::system_error&) {
      break;  // the threads already started, and this one, do the work
    }
  }
  work.work();
  for (std::thread& helper : helpers) {
    helper.join();
  }
  return slots;
}

}  // namespace piconel
