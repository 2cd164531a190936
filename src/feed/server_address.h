#pragma once

#include <optional>
#include <string>

namespace netglobe {

// A status server given as HOST or HOST:PORT (an IPv6 host in brackets).
struct ServerAddress {
  std::string host;
  int port = 80;

  std::string statusurl() const;  // http://HOST:PORT/whazzup.txt
  std::string text() const;       // HOST:PORT
};

// Parses HOST[:PORT]; nullopt for an empty host, a bad port or stray text.
std::optional<ServerAddress> parseserver(const std::string& text);

}  // namespace netglobe
