#include "app/about_text.h"

#include <array>
#include <vector>

#include "store/bounded_format.h"

namespace piconel {

namespace {

constexpr std::size_t kAboutTextBytes = 512;
constexpr std::size_t kMailLinkBytes = 256;
constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// タイトル    ： %s\r\nバージョン  ： %s\r\nコンパイル日： %s\r\n\r\n
// 作った人    ： %s\r\nWebPage     ： %s\r\nEMAIL       ： %s
constexpr char kAboutFormat[] =
    "\x83^\x83\x43\x83g\x83\x8b    \x81\x46 %s\r\n"
    "\x83o\x81[\x83W\x83\x87\x83\x93  \x81\x46 %s\r\n"
    "\x83R\x83\x93\x83p\x83\x43\x83\x8b\x93\xfa\x81\x46 %s\r\n\r\n"
    "\x8d\xec\x82\xc1\x82\xbd\x90l    \x81\x46 %s\r\n"
    "WebPage     \x81\x46 %s\r\n"
    "EMAIL       \x81\x46 %s";

// ピコネル
constexpr char kTitle[] = "\x83s\x83R\x83l\x83\x8b";
// ピコネル開発チーム
constexpr char kAuthor[] = "\x83s\x83R\x83l\x83\x8b\x8aJ\x94\xad\x83`\x81[\x83\x80";
// Neutral placeholders: the project has no public page or mailbox.
constexpr char kWebPage[] = "https://piconel.invalid/";
constexpr char kMail[] = "dev@piconel.invalid";

}  // namespace

AboutRecord program_about_record() {
  return {kTitle, "1.0.8", kAuthor, kWebPage, kMail};
}

std::string format_build_date(std::string_view date) {
  std::vector<std::string> fields;
  std::size_t position = 0;
  while (position < date.size()) {
    const std::size_t blank = date.find(' ', position);
    const std::size_t end = blank == std::string_view::npos ? date.size() : blank;
    if (end > position) {
      fields.emplace_back(date.substr(position, end - position));
    }
    position = end + 1;
  }
  if (fields.size() < 3) {
    return std::string(date);
  }
  std::string month = fields[0];
  for (std::size_t i = 0; i < kMonths.size(); ++i) {
    if (kMonths[i] == month) {
      month = std::to_string(i + 1);
      break;
    }
  }
  return fields[2] + "/" + month + "/" + fields[1];
}

std::string about_text(const AboutRecord& record, std::string_view build_date) {
  const std::string title(record.title);
  const std::string version(record.version);
  const std::string date(build_date);
  const std::string author(record.author);
  const std::string web(record.web_page);
  const std::string mail(record.mail);
  std::string text;
  (void)bounded_format_string(text, kAboutTextBytes, kAboutFormat, title.c_str(), version.c_str(),
                              date.c_str(), author.c_str(), web.c_str(), mail.c_str());
  return text;
}

std::string mail_link(std::string_view address) {
  const std::string owned(address);
  std::string link;
  (void)bounded_format_string(link, kMailLinkBytes, "mailto:%s", owned.c_str());
  return link;
}

}  // namespace piconel
