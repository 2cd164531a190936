#include "feed/validators.h"

#include <algorithm>
#include <cctype>

#include "base/text_search.h"

namespace netglobe {
namespace {

// Far above any real tag or date; a longer value is not one.
constexpr std::size_t kMaxValidatorBytes = 256;

bool namedas(std::string_view line, std::string_view name) {
  return line.size() > name.size() && line[name.size()] == ':' &&
         std::equal(name.begin(), name.end(), line.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

bool sendable(std::string_view value) {
  return !value.empty() && value.size() <= kMaxValidatorBytes &&
         std::none_of(value.begin(), value.end(), [](char c) {
           const auto u = static_cast<unsigned char>(c);
           return (u < 0x20 && c != '\t') || u == 0x7F;
         });
}

}  // namespace

void readvalidator(std::string_view headerline, Validators& validators) {
  for (const auto& [name, field] : {std::pair<std::string_view, std::string*>{"etag", &validators.etag},
                                    {"last-modified", &validators.lastmodified}}) {
    if (!namedas(headerline, name)) continue;
    const std::string_view value = trimmed(headerline.substr(name.size() + 1), " \t\r\n");
    if (sendable(value)) *field = value;
    return;
  }
}

}  // namespace netglobe
