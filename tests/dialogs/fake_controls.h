#pragma once

// Dialog controls as plain records: what the group logic sets can be read
// back, and a test "clicks" by setting the state first, as the auto check
// boxes and radio buttons of a real dialog do.

#include <map>
#include <string>
#include <string_view>

#include "dialogs/dialog_controls.h"

namespace piconel::testing {

struct FakeControl {
  bool checked = false;
  bool enabled = true;
  std::string text;
};

class FakeControls final : public DialogControls {
 public:
  bool is_checked(int id) const override { return at(id).checked; }
  void set_checked(int id, bool checked) override { controls_[id].checked = checked; }
  void set_enabled(int id, bool enabled) override { controls_[id].enabled = enabled; }
  std::string text(int id) const override { return at(id).text; }
  void set_text(int id, std::string_view text) override { controls_[id].text = text; }
  void redraw(int id) override { ++redraws[id]; }

  [[nodiscard]] bool is_enabled(int id) const { return at(id).enabled; }

  std::map<int, int> redraws;

 private:
  const FakeControl& at(int id) const {
    static const FakeControl missing;
    const auto found = controls_.find(id);
    return found == controls_.end() ? missing : found->second;
  }
  std::map<int, FakeControl> controls_;
};

}  // namespace piconel::testing
