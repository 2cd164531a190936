#include "answer_log.h"

namespace netsim {
namespace {

// The value of a "KEY = value" line of the header (the lines between
// "!GENERAL" and the next section marker), or "-".
std::string_view headervalue(std::string_view text, std::string_view key) {
  for (std::size_t start = text.find('\n'); start != std::string_view::npos;) {
    ++start;
    const std::size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.starts_with('!')) break;
    if (line.starts_with(key)) return line.substr(key.size());
    start = end;
  }
  return "-";
}

}  // namespace

std::string_view kindname(AnswerKind kind) {
  switch (kind) {
    case AnswerKind::Ok: return "ok";
    case AnswerKind::Cut: return "cut";
    case AnswerKind::Fail: return "fail";
    case AnswerKind::Drop: return "drop";
    case AnswerKind::Page: return "page";
    case AnswerKind::Empty: return "empty";
    case AnswerKind::NotModified: return "notmodified";
  }
  return "?";
}

AnswerLog::AnswerLog(const std::string& path) : out_(path, std::ios::trunc) {}

void AnswerLog::add(std::uint64_t request, AnswerKind kind, int waitms,
                    std::string_view statusfile, std::string_view encodings) {
  std::lock_guard<std::mutex> lock(mutex_);
  out_ << request << ' ' << kindname(kind) << ' ' << waitms << ' '
       << headervalue(statusfile, "UPDATE = ") << ' '
       << headervalue(statusfile, "CONNECTED CLIENTS = ") << ' ' << encodings << std::endl;
}

}  // namespace netsim
