#include "base/program_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_folder.h"

namespace netglobe {
namespace {

// Reference files by letter: c coastline.dat, F fir1.dat, f firs.dat,
// a airports.dat, i velmar.jpg.
constexpr const char* kLetters = "cFfai";
constexpr const char* kAll = "cFfai";

// One start of the program. Folders under a temp root: prefix/bin is the
// executable's, prefix/share/netglobe the installed data, home and xdg the
// user's, opt the one named with --folder.
struct Case {
  const char* name;
  const char* exefiles;
  bool writable;
  const char* sharefiles;  // nullptr: no share folder
  const char* userfiles;   // in the per-user folder, wherever it is
  const char* optfiles;    // nullptr: no --folder
  const char* xdg;         // XDG_DATA_HOME under the root; "" unset, "rel" a relative one
  bool home;
  const char* folder;      // the expected program folder under the root; "" none
  FolderKind kind;
  const char* from;        // per letter: the folder the file is read from, b bin, s share, p program folder
};

const Case kCases[] = {
    {"build folder", kAll, true, nullptr, "", nullptr, "", true, "prefix/bin", FolderKind::Executable, "bbbbb"},
    {"read-only portable copy", kAll, false, nullptr, "F", nullptr, "", true, "home/.local/share/netglobe",
     FolderKind::PerUser, "bpbbb"},
    {"installed, first start", "", false, kAll, "", nullptr, "xdg", true, "xdg/netglobe", FolderKind::PerUser,
     "sssss"},
    {"installed, own outlines and image", "", false, kAll, "Fi", nullptr, "", true, "home/.local/share/netglobe",
     FolderKind::PerUser, "spssp"},
    {"writable bin without data", "", true, kAll, "", nullptr, "xdg", true, "xdg/netglobe", FolderKind::PerUser,
     "sssss"},
    {"relative XDG_DATA_HOME", "", false, kAll, "", nullptr, "rel", true, "home/.local/share/netglobe",
     FolderKind::PerUser, "sssss"},
    {"--folder over a build folder", kAll, true, nullptr, "", "c", "", true, "opt", FolderKind::Option, "ppppp"},
    {"--folder over installed data", "", false, kAll, "", "a", "xdg", true, "opt", FolderKind::Option, "sssps"},
    {"installed data incomplete", "", false, "c", "", nullptr, "xdg", true, "xdg/netglobe", FolderKind::PerUser,
     "sssss"},
    {"no HOME", "", false, kAll, "", nullptr, "", false, "", FolderKind::PerUser, ""},
};

void putfiles(const std::string& folder, const char* letters) {
  std::filesystem::create_directories(folder);
  const ReferenceFiles files = referencefilesin(folder);
  const std::string paths[] = {files.coastline, files.fir1, files.firs, files.airports, files.globeimage};
  for (const char* l = letters; *l; ++l) std::ofstream(paths[std::string(kLetters).find(*l)]) << "x\n";
}

TEST(ProgramFolders, ChoiceAndReadPlaces) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    TempFolder root;
    const std::string bin = root.file("prefix/bin");
    const std::string share = root.file("prefix/share/netglobe");
    putfiles(bin, c.exefiles);
    if (c.sharefiles) putfiles(share, c.sharefiles);
    if (c.optfiles) putfiles(root.file("opt"), c.optfiles);

    FolderInputs in;
    in.exefolder = bin;
    in.exefolderwritable = c.writable;
    if (c.optfiles) in.folderoption = root.file("opt");
    in.xdgdatahome = std::string(c.xdg) == "rel" ? "rel/data" : *c.xdg ? root.file(c.xdg) : "";
    if (c.home) in.home = root.file("home");
    const std::string expected = *c.folder ? root.file(c.folder) : "";
    if (*c.userfiles) putfiles(expected, c.userfiles);

    const ProgramFolders out = chooseprogramfolders(in);
    EXPECT_EQ(out.folder, expected);
    if (expected.empty()) {
      EXPECT_NE(out.error.find("HOME"), std::string::npos);
      continue;
    }
    EXPECT_EQ(out.kind, c.kind);
    EXPECT_EQ(out.sharefolder, c.sharefiles ? share : "");
    const ReferenceFiles got = out.files;
    const std::string paths[] = {got.coastline, got.fir1, got.firs, got.airports, got.globeimage};
    const ReferenceFiles names = referencefilesin("");
    const std::string files[] = {names.coastline, names.fir1, names.firs, names.airports, names.globeimage};
    for (int i = 0; i < 5; ++i) {
      const std::string folder = c.from[i] == 'b' ? bin : c.from[i] == 's' ? share : expected;
      EXPECT_EQ(paths[i], folder + files[i]) << kLetters[i];
    }
  }
}

TEST(ProgramFolders, OneLineNamesEveryFolderAndTheOwnCopies) {
  TempFolder root;
  putfiles(root.file("usr/share/netglobe"), kAll);
  putfiles(root.file("xdg/netglobe"), "Fi");
  FolderInputs in;
  in.exefolder = root.file("usr/bin");
  in.xdgdatahome = root.file("xdg");
  const ProgramFolders folders = chooseprogramfolders(in);
  EXPECT_EQ(describefolders(folders), "program folder " + root.file("xdg/netglobe") +
                                          " (the per-user data folder); reference data from " +
                                          root.file("usr/share/netglobe") + ", own fir1.dat, velmar.jpg");
  in.folderoption = root.file("usr/share/netglobe");
  EXPECT_EQ(describefolders(chooseprogramfolders(in)),
            "program folder " + root.file("usr/share/netglobe") + " (--folder)");
}

}  // namespace
}  // namespace netglobe
