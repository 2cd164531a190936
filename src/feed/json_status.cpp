#include "feed/json_status.h"

#include <string_view>

#include "feed/json_layouts.h"

namespace netglobe {

namespace {

using namespace json;

// What the top level of a document shows: its layout and the header values.
struct TopLevel {
  bool general = false;    // layout A: an object "general" ...
  bool pilots = false;     // ... and an array "pilots"
  bool updatedat = false;  // layout B: a string "updatedAt" ...
  bool clients = false;    // ... and an object "clients"
  std::string update;      // the document's time, YYYYMMDDhhmmss
  std::string reload;
  std::string connected;
  std::string servers;
};

error_code typeofvalue(od::value& v, od::json_type& type) { return v.type().get(type); }

// The header fields of layout A; a field of another type reads as absent.
error_code readgeneral(od::value v, TopLevel& top) {
  od::object general;
  if (error_code e = v.get_object().get(general)) return e;
  std::string update, stamp;
  bool ignored = false;
  if (error_code e = eachfield(general, ignored, [&](std::string_view key, od::value f) -> error_code {
        if (key == "update") return text(f, update);
        if (key == "update_timestamp") return time(f, stamp);
        if (key == "reload") return numberfield(f, top.reload);
        if (key == "connected_clients") return numberfield(f, top.connected);
        return SUCCESS;
      })) {
    return e;
  }
  top.update = compacttime(update).empty() ? stamp : compacttime(update);
  return SUCCESS;
}

error_code readconnections(od::value v, TopLevel& top) {
  od::object connections;
  if (error_code e = v.get_object().get(connections)) return e;
  bool ignored = false;
  return eachfield(connections, ignored, [&](std::string_view key, od::value f) -> error_code {
    return key == "total" ? numberfield(f, top.connected) : SUCCESS;
  });
}

error_code countelements(od::value v, std::string& count) {
  od::array array;
  if (error_code e = v.get_array().get(array)) return e;
  std::size_t n = 0;
  if (error_code e = array.count_elements().get(n)) return e;
  count = std::to_string(n);
  return SUCCESS;
}

// The first walk over the top level: which layout, and the header.
error_code readtop(od::object object, TopLevel& top) {
  bool ignored = false;
  return eachfield(object, ignored, [&](std::string_view key, od::value v) -> error_code {
    od::json_type type;
    if (error_code e = typeofvalue(v, type)) return e;
    if (key == "general" && type == od::json_type::object) {
      top.general = true;
      return readgeneral(v, top);
    }
    if (key == "pilots") top.pilots = type == od::json_type::array;
    if (key == "clients") top.clients = type == od::json_type::object;
    if (key == "updatedAt" && type == od::json_type::string) {
      top.updatedat = true;
      return time(v, top.update);
    }
    if (key == "connections" && type == od::json_type::object) return readconnections(v, top);
    if (key == "servers" && type == od::json_type::array) return countelements(v, top.servers);
    return SUCCESS;
  });
}

using EntryReader = error_code (*)(od::object, ClientRecord&, bool&);

// Every entry of one client array, as records; entries that cannot be read
// are counted and left out.
error_code readentries(od::value v, EntryReader read, std::string& out, int& skipped) {
  od::array array;
  if (error_code e = v.get_array().get(array)) return e;
  ClientRecord record;
  for (auto item : array) {
    od::value entry;
    if (error_code e = std::move(item).get(entry)) return e;
    od::json_type type;
    if (error_code e = typeofvalue(entry, type)) return e;
    if (type != od::json_type::object) {
      ++skipped;
      continue;
    }
    od::object object;
    if (error_code e = entry.get_object().get(object)) return e;
    record.clear();
    bool wrongtype = false;
    if (error_code e = read(object, record, wrongtype)) return e;
    // A callsign of blanks is none; one that begins with "!" would end the
    // client section for every reader of the copy.
    if (wrongtype || record[1].find_first_not_of(' ') == std::string::npos || record[1].starts_with('!')) {
      ++skipped;
      continue;
    }
    record.appendto(out);
  }
  return SUCCESS;
}

// A client array the layout needs, or why the document is refused.
struct Wanted {
  std::string_view key;
  EntryReader read;
  bool required;
  bool seen = false;
};

template <std::size_t N>
error_code readarrays(od::object object, Wanted (&wanted)[N], JsonStatus& status, std::string_view where) {
  bool ignored = false;
  return eachfield(object, ignored, [&](std::string_view key, od::value v) -> error_code {
    for (Wanted& w : wanted) {
      if (key != w.key) continue;
      od::json_type type;
      if (error_code e = typeofvalue(v, type)) return e;
      if (type != od::json_type::array) {
        status.failure = std::string(where) + std::string(w.key) + " is not an array";
        return kRefused;
      }
      w.seen = true;
      return readentries(v, w.read, status.text, status.skipped);
    }
    return SUCCESS;
  });
}

template <std::size_t N>
bool allthere(const Wanted (&wanted)[N], JsonStatus& status, std::string_view where) {
  for (const Wanted& w : wanted) {
    if (w.required && !w.seen) {
      status.failure = std::string(where) + std::string(w.key) + " is missing";
      return false;
    }
  }
  return true;
}

error_code readlayouta(od::object top, JsonStatus& status) {
  Wanted wanted[] = {{"pilots", pilota, true}, {"controllers", controllera, true}, {"atis", controllera, false}};
  if (error_code e = readarrays(top, wanted, status, "layout A: ")) return e;
  return allthere(wanted, status, "layout A: ") ? SUCCESS : kRefused;
}

error_code readlayoutb(od::object top, JsonStatus& status) {
  bool ignored = false;
  Wanted wanted[] = {{"pilots", pilotb, true}, {"atcs", controllerb, true}, {"observers", observerb, false}};
  if (error_code e = eachfield(top, ignored, [&](std::string_view key, od::value v) -> error_code {
        if (key != "clients") return SUCCESS;
        od::object clients;
        if (error_code e = v.get_object().get(clients)) return e;
        return readarrays(clients, wanted, status, "layout B: clients.");
      })) {
    return e;
  }
  return allthere(wanted, status, "layout B: clients.") ? SUCCESS : kRefused;
}

// The header of the text layout, seven lines ending in the client marker.
std::string header(const TopLevel& top) {
  return "!GENERAL\n"
         "VERSION = 8\n"
         "RELOAD = " + top.reload + "\n"
         "UPDATE = " + top.update + "\n"
         "CONNECTED CLIENTS = " + top.connected + "\n"
         "CONNECTED SERVERS = " + (top.servers.empty() ? "0" : top.servers) + "\n"
         "!CLIENTS\n";
}

// Ends the client section for every reader, as the server list did.
constexpr std::string_view kSectionAfterClients = "!SERVERS\n";

// Where a document is broken; doc is null when it never began to be read.
std::string brokenat(od::document* doc, const std::string& body, error_code error) {
  if (error == simdjson::UTF8_ERROR) return "JSON error: not UTF-8";
  const char* at = nullptr;
  // A document that ends before it is complete is broken at its end.
  if (error != simdjson::INCOMPLETE_ARRAY_OR_OBJECT && error != simdjson::UNCLOSED_STRING &&
      doc && doc->current_location().get(at) == SUCCESS && at >= body.data() && at <= body.data() + body.size()) {
    return "JSON error at byte " + std::to_string(at - body.data());
  }
  return "JSON error at byte " + std::to_string(body.size());
}

}  // namespace

JsonStatus readjsonstatus(std::string& body) {
  JsonStatus status;
  body.reserve(body.size() + simdjson::SIMDJSON_PADDING);
  // One parser a thread, kept: its buffers grow to the largest document
  // seen and are not allocated and faulted in again for every answer.
  thread_local od::parser parser;
  od::document doc;
  if (error_code e = parser.iterate(simdjson::padded_string_view(body.data(), body.size(), body.capacity())).get(doc)) {
    status.failure = brokenat(nullptr, body, e);
    return status;
  }
  TopLevel top;
  od::object object;
  error_code e = doc.get_object().get(object);
  if (!e) e = readtop(object, top);
  if (!e && !(top.general && top.pilots) && !(top.updatedat && top.clients)) {
    status.failure = "unknown JSON layout";
    return status;
  }
  if (!e && top.update.empty()) {
    status.failure = "no time in the status document";
    return status;
  }
  if (!e) {
    status.text = header(top);
    status.text.reserve(body.size() / 2);
    doc.rewind();
    e = doc.get_object().get(object);
  }
  if (!e) e = top.general && top.pilots ? readlayouta(object, status) : readlayoutb(object, status);
  // Anything after the document's closing brace: one has a location.
  const char* rest = nullptr;
  if (!e && doc.current_location().get(rest) == SUCCESS) e = simdjson::TRAILING_CONTENT;
  if (e) {
    if (status.failure.empty()) status.failure = brokenat(&doc, body, e);
    status.text.clear();
    status.text.shrink_to_fit();
    status.skipped = 0;
    return status;
  }
  status.text += kSectionAfterClients;
  status.ok = true;
  return status;
}

}  // namespace netglobe
