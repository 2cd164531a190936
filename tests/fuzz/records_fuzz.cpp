// Feeds arbitrary bytes to everything that reads what a server or a data file
// sends: text conversion, record splitting, the status parse, the reference
// readers, the side lists, the labels and the friends file. Build with clang and NETGLOBE_BUILD_FUZZ=ON (README).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "feed/server_address.h"
#include "feed/status_copy.h"
#include "feed/status_parser.h"
#include "base/text_encoding.h"
#include "refdata/directories.h"
#include "refdata/reference_scan.h"
#include "base/fields.h"
#include "base/number_text.h"
#include "layers/static_layers.h"
#include "lists/pilot_labels.h"
#include "lists/side_lists.h"
#include "lists/station_labels.h"
#include "refdata/friends_file.h"

namespace {

const std::string& folder() {
  static const std::string path = [] {
    char pattern[] = "/tmp/netglobe-fuzz-XXXXXX";
    return std::string(::mkdtemp(pattern));
  }();
  return path;
}

void put(const char* name, const std::string& content) {
  if (std::FILE* f = std::fopen((folder() + "/" + name).c_str(), "wb")) {
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace netglobe;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string stored = convertlineends(tocp1252(input));
  cp1252toutf8(stored);
  FieldBuf fields;
  getfields(input, fields);
  getfields2(input, fields);
  leadingnumber(input);
  parseserver(input);

  put("whazzup.txt", stored);
  StatusLists lists;
  what2array(folder() + "/whazzup.txt", lists);
  countstitle(lists);

  for (const char* name : {"coastline.dat", "fir1.dat", "firs.dat", "airports.dat"}) put(name, input);
  drawcoast(folder() + "/coastline.dat");
  drawfirs(folder() + "/fir1.dat");
  const std::string key = input.substr(0, 4);
  scanfirinfo(folder(), key, fields);
  scanfirstairport(folder(), key, fields);
  RefDirectories directories(folder());
  directories.refresh();
  directories.firs.getfirinfo(key, fields);
  directories.airports.lastairport(key, fields);
  const OutlineLines outline = directories.outlines.outline(input.substr(input.empty() ? 0 : 1, 4));
  for (const std::string& point : outline.points) getfields(point, fields);

  const std::string status = folder() + "/whazzup.txt";
  getobs(status);
  getfriends(status, FriendIds());
  getedbb(status);
  getinbound(lists);
  getoutbound(lists);
  showctrname(lists, directories.firs);
  showaprname(lists, directories.airports, directories.firs);
  showtwrname(lists, directories.airports);
  for (int mode = 1; mode <= 5; ++mode) showpilotname(lists, directories.airports, mode);
  put("friends.txt", input);
  FriendsFile friends(folder());
  friends.refresh();
  return 0;
}
