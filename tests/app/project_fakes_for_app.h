#pragma once

// A prompter that records the message texts and answers as a null one does,
// or with the scripted file names.

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

  bool ask_file_names(std::string_view caption, std::span<const FileFilter> filters,
                      std::vector<ChosenFile>& files) override {
    if (next_files.empty()) {
      return Prompter::ask_file_names(caption, filters, files);
    }
    files = next_files;
    return true;
  }

  std::vector<std::string> texts;
  std::string next_file;  // empty: the dialog is cancelled
  // The next multi-select dialog's answer; empty: as the single-file one.
  std::vector<ChosenFile> next_files;
};

}  // namespace piconel
