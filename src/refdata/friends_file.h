#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "refdata/keyed_lines.h"
#include "refdata/network_tables.h"

namespace netglobe {

inline constexpr const char* kFriendsFileName = "friends.txt";

// The member ids of a friends file: one id per line, blanks around it
// trimmed; blank lines and lines starting with "#" ignored. A line that is
// not all digits is skipped with a note naming it.
FriendIds parsefriends(const std::vector<std::string>& lines, std::vector<std::string>& notes);

// The user's own circle of friends, folder/friends.txt, in place of the
// built-in one. No file: the built-in circle. A file without ids: no
// friends. A file that cannot be read: the built-in circle, with a note.
class FriendsFile {
 public:
  explicit FriendsFile(const std::string& folder);

  // Reads the file again when it appeared, vanished or changed since the
  // last read; true when it did (ids and notes are then new).
  bool refresh();

  const FriendIds& ids() const { return ids_; }
  // What the last read has to say (lines skipped, a file that cannot be
  // read), for the window to print after a refresh() that returned true.
  const std::vector<std::string>& notes() const { return notes_; }

 private:
  std::string path_;
  bool loaded_ = false;
  bool readable_ = true;
  FileIdentity identity_;
  FriendIds ids_;
  std::vector<std::string> notes_;
};

}  // namespace netglobe
