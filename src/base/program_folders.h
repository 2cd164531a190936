#pragma once

#include <string>

#include "base/reference_files.h"

namespace netglobe {

// What decides the program's folders, gathered at start.
struct FolderInputs {
  std::string folderoption;         // --folder DIR; empty when not given
  std::string exefolder;            // the folder of the running executable
  bool exefolderwritable = false;   // the program may create files there
  std::string xdgdatahome;          // $XDG_DATA_HOME; empty when unset
  std::string home;                 // $HOME; empty when unset
};

enum class FolderKind {
  Option,      // named with --folder
  Executable,  // the executable's own folder: a build folder, an unpacked portable copy
  PerUser,     // $XDG_DATA_HOME/netglobe or ~/.local/share/netglobe
};

struct ProgramFolders {
  // Where whazzup.txt and topconn.txt are written and friends.txt is read;
  // empty when no folder could be chosen (then error says why).
  std::string folder;
  FolderKind kind = FolderKind::Option;
  // The installed reference data, ../share/netglobe beside the executable;
  // empty when there is none.
  std::string sharefolder;
  // Each file from the program's folder when it is there, else from the
  // installed data.
  ReferenceFiles files;
  std::string error;
};

// --folder wins. Otherwise the executable's folder when it holds reference
// data and can be written, else the per-user data folder (which the caller
// creates). Looks at the file system but changes nothing.
ProgramFolders chooseprogramfolders(const FolderInputs& in);

// Everything in one folder, read and written.
ProgramFolders onefolder(const std::string& folder);

// The one line that says which folders this run uses.
std::string describefolders(const ProgramFolders& folders);

// The folder of the running executable, symbolic links resolved.
std::string executablefolder();

// The calling user may create files in folder.
bool canwrite(const std::string& folder);

}  // namespace netglobe
