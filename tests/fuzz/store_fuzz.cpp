// The store's load: whatever loads saves, and the saved file loads back to
// the same store and saves to the same bytes.

#include <string>

#include "fuzz/fuzz_targets.h"
#include "store/document_store.h"
#include "store/file_io.h"
#include "store/store_dump.h"

namespace piconel::fuzz {

int store(const std::uint8_t* data, std::size_t size) {
  const std::string input = scratch_folder() + "store-input.ini";
  const std::string saved = scratch_folder() + "store-saved.ini";
  require(write_file_replacing(input, {data, size}, Durability::Unsynced), "input not written");
  DocumentStore first;
  if (!first.load(input, false)) {
    return 0;
  }
  require(first.save(saved), "a loaded store does not save");
  const FileBytes bytes = read_whole_file(saved);
  require(bytes.status == ReadStatus::Ok, "saved file unreadable");
  DocumentStore second;
  require(second.load(saved, false), "a saved store does not load");
  require(testing::dump(first) == testing::dump(second), "saved store loads back different");
  require(second.save(saved), "reloaded store does not save");
  require(read_whole_file(saved).bytes == bytes.bytes, "second save differs");
  return 0;
}

}  // namespace piconel::fuzz
