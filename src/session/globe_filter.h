#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/line_reader.h"
#include "feed/status_lists.h"
#include "lists/client_filter.h"
#include "lists/client_search.h"
#include "lists/filter_file.h"

namespace netglobe {

// The filter over the globe: while it is on, the traffic layers are drawn
// from the matching client lines of the copy on screen only; the side lists
// and the search still read the whole copy. Kept in the program's folder
// from one run to the next.
class GlobeFilter {
 public:
  explicit GlobeFilter(const std::string& folder) : file_(folder) {}

  // The filter of the run before; "" or why the kept one was ignored.
  std::string load();

  bool on() const { return !query_.empty(); }
  const FilterQuery& query() const { return query_; }

  // A new query from the field (empty ends the filter). False when it reads
  // as the one in force: nothing to draw again. The caller keeps it in the
  // file, through keeper(), off the window's thread.
  bool set(std::string_view text);
  // Writes a query into the file ("" removes it); "" or why it failed.
  using Keeper = std::function<std::string(const std::string& query)>;
  Keeper keeper() const;

  // The copy about to be shown: read for matching while the filter is on.
  void index(LineReader copy);
  bool indexed() const { return indexed_; }

  // The lists the traffic is drawn from: all of them without a filter,
  // else those of the matching lines (the day's peak as in all).
  StatusLists lists(const StatusLists& all);
  // The filtered copy behind the last lists() while the filter is on, for
  // the builders that read the copy itself.
  const std::string& copytext() const { return copy_; }

  // The clients the filter keeps, as the search field lists them: the
  // first kMaxMatches in the copy's order, and how many there are.
  ClientSearch matches() const;

  // ` FILTER "query" N/M`: N clients drawn of the M in the copy; "" when off.
  std::string titlesuffix() const;

 private:
  FilterFile file_;
  FilterQuery query_;
  FilterIndex index_;
  bool indexed_ = false;
  std::string copy_;
  int shown_ = 0;
  int clients_ = 0;
};

}  // namespace netglobe
