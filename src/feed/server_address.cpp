#include "feed/server_address.h"

#include <cctype>

namespace netglobe {
namespace {

bool validport(const std::string& digits, int& port) {
  if (digits.empty() || digits.size() > 5) return false;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  port = std::stoi(digits);
  return port >= 1 && port <= 65535;
}

bool validhost(const std::string& host) {
  if (host.empty()) return false;
  for (char c : host) {
    const auto u = static_cast<unsigned char>(c);
    if (!(std::isalnum(u) || c == '.' || c == '-' || c == '_' || c == ':')) return false;
  }
  return true;
}

}  // namespace

std::string ServerAddress::text() const {
  const bool v6 = host.find(':') != std::string::npos;
  return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::string ServerAddress::statusurl() const { return "http://" + text() + "/whazzup.txt"; }

std::optional<ServerAddress> parseserver(const std::string& text) {
  ServerAddress address;
  std::string portpart;
  if (!text.empty() && text.front() == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string::npos) return std::nullopt;
    address.host = text.substr(1, close - 1);
    const std::string rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return std::nullopt;
      portpart = rest.substr(1);
      if (!validport(portpart, address.port)) return std::nullopt;
    }
    // Brackets hold an address, nothing else: no blank, slash or "@" may
    // slip into the status URL through them.
    if (!validhost(address.host)) return std::nullopt;
  } else {
    const std::size_t colon = text.find(':');
    address.host = text.substr(0, colon);
    if (address.host.find(':') != std::string::npos) return std::nullopt;
    if (colon != std::string::npos && !validport(text.substr(colon + 1), address.port)) {
      return std::nullopt;
    }
    if (!validhost(address.host)) return std::nullopt;
  }
  return address;
}

}  // namespace netglobe
