#include "feed/status_answer.h"

#include <cstdio>

#include "feed/client_lines.h"
#include "feed/json_status.h"

namespace netglobe {

namespace {

void refuse(FetchResult& result, std::string reason) {
  result = FetchResult();
  result.failure = std::move(reason);
}

}  // namespace

bool looksjson(std::string_view body) {
  const std::size_t first = body.find_first_not_of(" \t\r\n\f\v");
  return first != std::string_view::npos && body[first] == '{';
}

bool hasclientsection(std::string_view body) {
  for (std::size_t at = body.find("!CLIENTS"); at != std::string_view::npos; at = body.find("!CLIENTS", at + 1)) {
    if (at > 0 && body[at - 1] != '\n' && body[at - 1] != '\r') continue;
    const std::size_t end = body.find_first_of("\r\n", at);
    if (isclientmarker(body.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at))) {
      return true;
    }
  }
  return false;
}

void readanswer(FetchResult& result) {
  if (!result.ok || result.notmodified) return;
  if (!looksjson(result.body)) {
    if (!hasclientsection(result.body)) refuse(result, "not a status file");
    return;
  }
  JsonStatus status = readjsonstatus(result.body);
  if (!status.ok) {
    refuse(result, std::move(status.failure));
    return;
  }
  if (status.skipped > 0) {
    std::fprintf(stderr, "netglobe: left out %d client entries of the status document that could not be read\n",
                 status.skipped);
  }
  result.body = std::move(status.text);
}

}  // namespace netglobe
