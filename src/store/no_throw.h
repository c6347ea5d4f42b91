#pragma once

// Allocation as a result: nothing in the program may end because memory ran
// out while holding something whose size came from a file. Standard
// containers report that by throwing; these helpers turn it into false at the
// one place it happens, so callers stay plain result-returning code.

#include <cstddef>
#include <new>
#include <stdexcept>
#include <vector>

namespace piconel {

// Runs `step` (which may allocate through standard containers); false when
// it ran out of memory or asked for more than a container can hold. `step`
// must leave its objects valid when it stops there, as the standard
// containers' own operations do.
template <typename Step>
[[nodiscard]] bool allocation_succeeds(Step&& step) noexcept {
  try {
    step();
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
}

// `out` resized to `count` value-initialised elements; false (and `out`
// unchanged) when memory runs out.
template <typename T>
[[nodiscard]] bool try_resize(std::vector<T>& out, std::size_t count) noexcept {
  return allocation_succeeds([&] { out.resize(count); });
}

// `out` resized to `count` copies of `value`, replacing what it held; false
// (and `out` unchanged) when memory runs out.
template <typename T>
[[nodiscard]] bool try_assign(std::vector<T>& out, std::size_t count, const T& value) noexcept {
  std::vector<T> fresh;
  if (!allocation_succeeds([&] { fresh.assign(count, value); })) {
    return false;
  }
  out.swap(fresh);
  return true;
}

}  // namespace piconel
