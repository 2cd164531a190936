#pragma once

// Reading the values of a JSON status document into record text, shared by
// the readers of both layouts. Every reader returns a simdjson error code:
// kWrongType for a value of a type its key never has (the entry is skipped,
// the document read on), any other error for a document that is broken.

#include <simdjson.h>

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "feed/json_record.h"

namespace netglobe::json {

namespace od = simdjson::ondemand;
using simdjson::error_code;
using simdjson::SUCCESS;

inline constexpr error_code kWrongType = simdjson::INCORRECT_TYPE;
// A document of a known layout that lacks what the layout needs: the walk
// ends, and the reader says why.
inline constexpr error_code kRefused = simdjson::NO_SUCH_FIELD;

// The key of a field as written. Our keys hold no escapes; a key that does
// reads as its raw text and matches none of them.
inline std::string_view rawkey(const od::field& field) {
  const char* start = field.key().raw();
  const char* end = start;  // a checked string: its closing quote is there
  while (*end != '"') ++end;
  return std::string_view(start, static_cast<std::size_t>(end - start));
}

inline error_code kindof(od::value& v, od::json_type& type) { return v.type().get(type); }

// Calls each(key, value) for every field of an object value. A document
// error ends the walk; kWrongType from each marks the entry and goes on.
template <class Each>
error_code eachfield(od::object object, bool& wrongtype, Each each) {
  for (auto item : object) {
    od::field field;
    if (error_code e = std::move(item).get(field)) return e;
    const std::string_view key = rawkey(field);
    if (error_code e = each(key, field.value())) {
      if (e != kWrongType) return e;
      wrongtype = true;
    }
  }
  return SUCCESS;
}

// An object, or null (found = false); any other type is wrong.
inline error_code objectornull(od::value& v, od::object& object, bool& found) {
  od::json_type type;
  if (error_code e = kindof(v, type)) return e;
  found = type == od::json_type::object;
  if (type == od::json_type::null) return SUCCESS;
  if (!found) return kWrongType;
  return v.get_object().get(object);
}

// A string as it is; null reads as empty.
inline error_code text(od::value v, std::string& out) {
  od::json_type type;
  if (error_code e = kindof(v, type)) return e;
  out.clear();
  if (type == od::json_type::null) return SUCCESS;
  if (type != od::json_type::string) return kWrongType;
  std::string_view s;
  if (error_code e = v.get_string().get(s)) return e;
  out.assign(s);
  return SUCCESS;
}

// A number as a double, or nothing for null.
inline error_code number(od::value v, std::optional<double>& out) {
  od::json_type type;
  if (error_code e = kindof(v, type)) return e;
  out.reset();
  if (type == od::json_type::null) return SUCCESS;
  if (type != od::json_type::number) return kWrongType;
  double d = 0;
  if (error_code e = v.get_double().get(d)) return e;
  out = d;
  return SUCCESS;
}

// A whole number (a fraction is cut off), or nothing for null. Values
// beyond what any field holds are of the wrong kind.
inline error_code whole(od::value v, std::optional<long long>& out) {
  std::optional<double> d;
  if (error_code e = number(v, d)) return e;
  out.reset();
  if (!d) return SUCCESS;
  if (!(std::fabs(*d) < 1e15)) return kWrongType;
  out = static_cast<long long>(*d);
  return SUCCESS;
}

// A number in its shortest form: 135 and 118.7 as written, 1200.0 as 1200.
inline std::string numbertext(double d) {
  char buffer[32];
  const auto written = std::fabs(d) < 1e15 && d == std::trunc(d)
                           ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(d))
                           : std::to_chars(buffer, buffer + sizeof buffer, d);
  return std::string(buffer, written.ptr);
}

// A number written into a record position; null leaves it empty.
inline error_code numberfield(od::value v, std::string& out) {
  std::optional<double> d;
  if (error_code e = number(v, d)) return e;
  if (d) {
    out = numbertext(*d);
  } else {
    out.clear();
  }
  return SUCCESS;
}

// An array of strings joined by the ATIS line separator; null is empty.
inline error_code lines(od::value v, std::string& out) {
  od::json_type type;
  if (error_code e = kindof(v, type)) return e;
  out.clear();
  if (type == od::json_type::null) return SUCCESS;
  if (type != od::json_type::array) return kWrongType;
  od::array array;
  if (error_code e = v.get_array().get(array)) return e;
  bool first = true;
  bool wrong = false;
  for (auto item : array) {
    od::value line;
    if (error_code e = std::move(item).get(line)) return e;
    od::json_type linetype;
    if (error_code e = kindof(line, linetype)) return e;
    if (linetype != od::json_type::string) {
      wrong = true;
      continue;
    }
    std::string_view s;
    if (error_code e = line.get_string().get(s)) return e;
    if (!first) out += kAtisLineBreak;
    out += s;
    first = false;
  }
  return wrong ? kWrongType : SUCCESS;
}

// An ISO time as the record's "YYYYMMDDhhmmss"; null is empty.
inline error_code time(od::value v, std::string& out) {
  if (error_code e = text(v, out)) return e;
  out = compacttime(out);
  return SUCCESS;
}

}  // namespace netglobe::json
