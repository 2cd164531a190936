#pragma once

#include <cstdint>
#include <fstream>
#include <mutex>
#include <string>
#include <string_view>

namespace netsim {

// How the server answers one request.
enum class AnswerKind {
  Ok,     // the whole status file
  Cut,    // the status file cut off mid-line
  Fail,   // an HTTP error status
  Drop,   // the connection closed without any answer
  Page,   // 2xx with an HTML page instead of a status file
  Empty,  // 2xx with an empty body
  NotModified,  // 304: the client's copy is the current status file
};

std::string_view kindname(AnswerKind kind);

// One line per request, written as soon as its answer is decided, so a test
// driving a client through the faults knows what each of its requests met:
//   REQUEST KIND WAIT_MS UPDATE CLIENTS ENCODINGS
// REQUEST counts from 0; WAIT_MS is the wait before the answer; UPDATE and
// CLIENTS come from the header of the status file carried ("-" when none);
// ENCODINGS is what the request's Accept-Encoding offered, without blanks.
class AnswerLog {
 public:
  explicit AnswerLog(const std::string& path);  // starts the file afresh
  bool isopen() const { return out_.is_open() && out_.good(); }
  void add(std::uint64_t request, AnswerKind kind, int waitms, std::string_view statusfile,
           std::string_view encodings = "-");

 private:
  std::mutex mutex_;
  std::ofstream out_;
};

}  // namespace netsim
