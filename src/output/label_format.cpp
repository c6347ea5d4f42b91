#include "output/label_format.h"

namespace piconel {
namespace {

// Longest key: the closing '%' must be among the 32 bytes after the opening one.
constexpr std::size_t kKeyWindow = 32;

const std::string* find_value(std::string_view key, const SubstitutionList& list) {
  for (const auto& [k, v] : list) {
    if (k == key) {
      return &v;
    }
  }
  return nullptr;
}

class LabelBuilder {
 public:
  bool full() const { return text_.size() >= kMaxLabelOutputBytes; }
  void put(char c) {
    if (!full()) {
      text_.push_back(c);
    }
  }
  void put(std::string_view s) {
    for (char c : s) {
      if (full()) {
        return;
      }
      text_.push_back(c);
    }
  }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

}  // namespace

std::string format_label(std::string_view label_template, const SubstitutionList& page_list,
                         const SubstitutionList& entry_list) {
  LabelBuilder label;
  const std::size_t n = label_template.size();
  std::size_t i = 0;
  auto substitute = [&](std::string_view key) {
    const std::string* value = find_value(key, page_list);
    if (value == nullptr) {
      value = find_value(key, entry_list);
    }
    if (value != nullptr) {
      label.put(*value);
    }
  };
  while (i < n && !label.full()) {
    const char c = label_template[i];
    if (c != '%') {
      label.put(c);
      ++i;
      continue;
    }
    const std::size_t rest = n - i - 1;  // bytes after this '%'
    if (rest == 0) {
      break;  // a lone '%' at the end is dropped
    }
    if (label_template[i + 1] == '%') {
      label.put('%');
      i += 2;
      continue;
    }
    const std::size_t window = rest < kKeyWindow ? rest : kKeyWindow;
    const std::string_view ahead = label_template.substr(i + 1, window);
    const std::size_t close = ahead.find('%');
    if (close != std::string_view::npos) {
      substitute(ahead.substr(0, close));
      i += close + 2;
      continue;
    }
    if (rest < kKeyWindow) {
      // The template ends inside the window: an open key, looked up as it stands.
      substitute(ahead);
      break;
    }
    label.put('%');
    ++i;
  }
  return label.take();
}

}  // namespace piconel
