#pragma once

// A prompter that records the message texts and answers as a null one does.

#include <string>
#include <vector>

#include "project/project_ports.h"

namespace piconel {

class RecordingPrompter final : public Prompter {
 public:
  int message_box(std::string_view text, std::string_view, unsigned type) override {
    texts.emplace_back(text);
    return (type & 0xF) == kMbOk ? kIdOk : kIdCancel;
  }
  bool ask_file_name(std::string_view, std::string& file_name, std::span<const FileFilter>,
                     bool) override {
    if (next_file.empty()) {
      return false;
    }
    file_name = next_file;
    return true;
  }

  std::vector<std::string> texts;
  std::string next_file;  // empty: the dialog is cancelled
};

}  // namespace piconel
