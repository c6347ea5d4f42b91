// libFuzzer's entry for one harness, chosen when the program is built
// (PICONEL_FUZZ_HARNESS names its function).

#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return piconel::fuzz::PICONEL_FUZZ_HARNESS(data, size);
}
