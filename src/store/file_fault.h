#pragma once

// Faults injected into the writing side of the file layer, for tests: every
// replacing write (write_file_replacing*) takes steps — open the temporary
// file, each write call, the flush, the close, the rename — and the test
// makes the Nth of them fail, the way a failing or full disk would. The
// program itself never sets a fault.

#include <optional>

namespace piconel {

enum class FileStep { Open, Write, Flush, Close, Rename };

enum class FileFaultKind {
  Error,       // the step reports an I/O error
  DiskFull,    // a write stores nothing and reports a full disk (other steps: Error)
  ShortWrite,  // a write stores the first half of its bytes, then the disk is full
};

struct FileFault {
  // 1-based number of the failing step, counted over every step of every
  // write since the fault was set; 0 fails none (and only counts).
  int step = 0;
  FileFaultKind kind = FileFaultKind::Error;
};

// Sets the fault and restarts the step count.
void set_file_fault(FileFault fault);
// Steps taken since set_file_fault.
[[nodiscard]] int file_steps_taken();

// Counts one step of `kind`; the fault when this step is the one to fail.
// Called by the file layer only.
[[nodiscard]] std::optional<FileFaultKind> take_file_step(FileStep kind);

// A fault for one scope of a test; none again at its end.
class ScopedFileFault {
 public:
  explicit ScopedFileFault(FileFault fault) { set_file_fault(fault); }
  ~ScopedFileFault() { set_file_fault({}); }
  ScopedFileFault(const ScopedFileFault&) = delete;
  ScopedFileFault& operator=(const ScopedFileFault&) = delete;
};

}  // namespace piconel
