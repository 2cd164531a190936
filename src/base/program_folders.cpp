#include "base/program_folders.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace netglobe {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramName = "netglobe";

bool isfile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool isfolder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

std::string join(const std::string& folder, const std::string& name) {
  return (fs::path(folder) / name).lexically_normal().string();
}

// Any reference file marks a folder as one the program's data was put in.
bool holdsreferencedata(const std::string& folder) {
  bool found = false;
  const ReferenceFiles files = referencefilesin(folder);
  eachreferencefile(files, [&](const std::string& path, const char*) { found = found || isfile(path); });
  return found;
}

// The data folder of the XDG base directories: an unset, empty or relative
// XDG_DATA_HOME means ~/.local/share.
std::string userdatahome(const FolderInputs& in) {
  if (!in.xdgdatahome.empty() && in.xdgdatahome.front() == '/') return in.xdgdatahome;
  if (in.home.empty()) return {};
  return join(in.home, ".local/share");
}

}  // namespace

ProgramFolders chooseprogramfolders(const FolderInputs& in) {
  ProgramFolders out;
  const std::string share = join(in.exefolder, "../share/netglobe");
  if (isfolder(share)) out.sharefolder = share;

  const bool exeholdsdata = holdsreferencedata(in.exefolder);
  if (!in.folderoption.empty()) {
    out.folder = in.folderoption;
    out.kind = FolderKind::Option;
  } else if (exeholdsdata && in.exefolderwritable) {
    out.folder = in.exefolder;
    out.kind = FolderKind::Executable;
  } else {
    const std::string datahome = userdatahome(in);
    if (datahome.empty()) {
      out.error = "no per-user data folder: neither XDG_DATA_HOME nor HOME is set; name one with --folder";
      return out;
    }
    out.folder = join(datahome, kProgramName);
    out.kind = FolderKind::PerUser;
  }

  // Where a file is looked for, first match wins. A read-only copy with its
  // data beside the executable still reads that data.
  std::vector<std::string> readfrom = {out.folder};
  if (!out.sharefolder.empty()) readfrom.push_back(out.sharefolder);
  if (out.kind == FolderKind::PerUser && exeholdsdata) readfrom.push_back(in.exefolder);
  // A file found nowhere is named where the installed data should hold it,
  // so that the reader's message points there.
  const std::string missingin = out.sharefolder.empty() ? out.folder : out.sharefolder;
  eachreferencefile(out.files, [&](std::string& path, const char* name) {
    path = join(missingin, name);
    for (const std::string& folder : readfrom) {
      if (isfile(join(folder, name))) {
        path = join(folder, name);
        break;
      }
    }
  });
  return out;
}

ProgramFolders onefolder(const std::string& folder) {
  ProgramFolders out;
  out.folder = folder;
  out.files = referencefilesin(folder);
  return out;
}

std::string describefolders(const ProgramFolders& folders) {
  if (folders.folder.empty()) return folders.error;
  const char* why = folders.kind == FolderKind::Option       ? "--folder"
                    : folders.kind == FolderKind::Executable ? "the executable's folder"
                                                             : "the per-user data folder";
  std::string line = "program folder " + folders.folder + " (" + why + ")";
  // Name the other folders the reference files come from, and which files
  // the program folder overrides them with.
  std::vector<std::string> others;
  std::string own;
  eachreferencefile(folders.files, [&](const std::string& path, const char* name) {
    const std::string folder = fs::path(path).parent_path().string();
    if (folder == fs::path(join(folders.folder, name)).parent_path().string()) {
      own += std::string(own.empty() ? "" : ", ") + name;
    } else if (std::find(others.begin(), others.end(), folder) == others.end()) {
      others.push_back(folder);
    }
  });
  if (others.empty()) return line;
  line += "; reference data from ";
  for (std::size_t i = 0; i < others.size(); ++i) line += (i ? " and " : "") + others[i];
  if (!own.empty()) line += ", own " + own;
  return line;
}

std::string executablefolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(".") : exe.parent_path().string();
}

bool canwrite(const std::string& folder) { return ::access(folder.c_str(), W_OK) == 0; }

}  // namespace netglobe
