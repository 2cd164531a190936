#include "feed/transfer_failure.h"

namespace netglobe {
namespace {

bool mentions(std::string_view text, std::string_view what) {
  return text.find(what) != std::string_view::npos;
}

}  // namespace

std::string transferfailure(CURLcode code, std::string_view detail) {
  switch (code) {
    case CURLE_OPERATION_TIMEDOUT: return "timed out";
    case CURLE_COULDNT_CONNECT: return "connection refused";
    case CURLE_COULDNT_RESOLVE_HOST: return "unknown host";
    case CURLE_COULDNT_RESOLVE_PROXY: return "unknown proxy";
    case CURLE_GOT_NOTHING: return "no answer";
    case CURLE_PARTIAL_FILE: return "answer cut off";
    case CURLE_RECV_ERROR: return "connection lost";
    case CURLE_BAD_CONTENT_ENCODING: return "compressed answer cannot be decoded";
    case CURLE_PEER_FAILED_VERIFICATION:
      // The OpenSSL back end words a name mismatch as "... subject name ...
      // target host name ..." and a lapsed certificate as "... has expired".
      if (mentions(detail, "host name")) return "certificate not for this host";
      if (mentions(detail, "expired")) return "certificate expired";
      return "certificate not trusted";
    case CURLE_SSL_CONNECT_ERROR: return "TLS handshake failed";
    case CURLE_SSL_CACERT_BADFILE: return "CA file not usable";
    default:
      return curl_easy_strerror(code);
  }
}

}  // namespace netglobe
