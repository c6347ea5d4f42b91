#pragma once

// Every failure point of an operation that writes files: the operation runs
// once for each step of its writes (open, each write, flush, close, rename)
// failing in each way (an I/O error, a full disk, a short write), and once
// with no fault, which ends the sweep. Shared by the store, project and
// output tests.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <system_error>

#include "store/file_fault.h"

namespace piconel::testing {

inline const char* fault_kind_name(FileFaultKind kind) {
  switch (kind) {
    case FileFaultKind::Error:
      return "error";
    case FileFaultKind::DiskFull:
      return "disk full";
    case FileFaultKind::ShortWrite:
      return "short write";
  }
  return "?";
}

// `setup()` puts the files back as before (no fault is set while it runs),
// `attempt()` runs the operation under the fault, and `check(struck)` looks
// at the outcome, `struck` telling whether the fault hit a step. Returns the
// number of steps of a run without a fault.
template <typename Setup, typename Attempt, typename Check>
int for_every_file_fault(Setup&& setup, Attempt&& attempt, Check&& check) {
  constexpr int kMaxSteps = 500;
  int steps_without_fault = 0;
  for (const FileFaultKind kind :
       {FileFaultKind::Error, FileFaultKind::DiskFull, FileFaultKind::ShortWrite}) {
    for (int step = 1; step <= kMaxSteps; ++step) {
      SCOPED_TRACE(std::string("step ") + std::to_string(step) + ", " + fault_kind_name(kind));
      setup();
      bool struck = false;
      {
        const ScopedFileFault fault({step, kind});
        attempt();
        struck = file_steps_taken() >= step;
        steps_without_fault = file_steps_taken();
      }
      check(struck);
      if (!struck) {
        break;
      }
      EXPECT_LT(step, kMaxSteps) << "the sweep never ends";
    }
  }
  return steps_without_fault;
}

// Names of the entries of a folder (program-form ASCII path), to find
// temporary files left behind.
inline std::set<std::string> folder_entries(const std::string& folder) {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
    names.insert(item.path().filename().string());
  }
  return names;
}

}  // namespace piconel::testing
