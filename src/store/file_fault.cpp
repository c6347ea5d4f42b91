#include "store/file_fault.h"

#include <atomic>

namespace piconel {

namespace {

// Atomics: the command line writes pages on several threads.
std::atomic<int> g_fail_step{0};
std::atomic<FileFaultKind> g_kind{FileFaultKind::Error};
std::atomic<int> g_steps{0};

}  // namespace

void set_file_fault(FileFault fault) {
  g_fail_step = fault.step;
  g_kind = fault.kind;
  g_steps = 0;
}

int file_steps_taken() {
  return g_steps;
}

std::optional<FileFaultKind> take_file_step(FileStep kind) {
  const int step = ++g_steps;
  if (step != g_fail_step.load()) {
    return std::nullopt;
  }
  const FileFaultKind fault = g_kind;
  if (kind != FileStep::Write && fault != FileFaultKind::Error) {
    return FileFaultKind::Error;
  }
  return fault;
}

}  // namespace piconel
