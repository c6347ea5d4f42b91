#include "store/file_error.h"

namespace piconel {
namespace {

thread_local int last_error = 0;

}  // namespace

int last_file_error() {
  return last_error;
}

void set_last_file_error(int code) {
  last_error = code;
}

}  // namespace piconel
