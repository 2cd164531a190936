#pragma once

#include <bitset>
#include <vector>

namespace netglobe {

// The numbered display lists of the scene.
enum ListNumber : int {
  kGradeList = 2,
  kAircraftList = 3,
  kFirList = 4,
  kTexGlobeList = 5,
  kCoastList = 6,
  kPlainGlobeList = 7,
  kActFirList = 8,
  kAppList = 9,
  kTwrList = 10,
  kChiefList = 11,
  kDirList = 12,
  kCtrLabelList = 13,
  kAprLabelList = 14,
  kTwrLabelList = 15,
  kPilotLabelList = 16,
  kMarkerList = 17,  // the ring around a client the view has flown to
  kTrailList = 18,   // pilots' tracks through the kept refreshes
  kDetailList = 19,  // the details panel's pilot: line to its destination, its trail
};
inline constexpr int kLastSceneList = kDetailList;
// Labels have glyphs for windows-1252 bytes below this; byte 255 has none.
inline constexpr int kGlyphCount = 255;

inline constexpr int kGlobeSlices = 60;

// Display switches: 1 on, -1 off, as the keys toggle them by negation.
struct SceneState {
  int globestyle = 1;  // 1 textured; any other value plain, 2 plain with graticule
  int stationlabels = -1;
  int pilotlabels = -1;
  int actfirmode = 1;
  int actfirflag = 0;
  int symbolsize = 1;
  int pilotlabelmode = 1;
  // Remembered visibility of the side lists: Listbox1 and Listbox2 together,
  // then Listbox3 to Listbox6. They start hidden.
  int showlist12 = -1;
  int showlist3 = -1;
  int showlist4 = -1;
  int showlist5 = -1;
  int showlist6 = -1;
  int marker = -1;  // the ring around a client the view has flown to
  int trails = -1;  // pilots' tracks through the kept refreshes
  int details = -1;  // the line and trail of the pilot in the details panel
  bool selecting = false;  // a pick pass draws the scene into the selection buffer
  bool operator==(const SceneState&) const = default;
};

// Which scene lists exist. Only compiling a list marks it: a layer is ready
// because it was built, never because a caller said so.
class ReadyLists {
 public:
  bool operator[](int list) const { return inrange(list) && ready_[std::size_t(list)]; }
  void mark(int list) {
    if (inrange(list)) ready_[std::size_t(list)] = true;
  }
  void clear(int list) {
    if (inrange(list)) ready_[std::size_t(list)] = false;
  }
  void clearall() { ready_.reset(); }

 private:
  static bool inrange(int list) { return list >= 0 && list <= kLastSceneList; }
  std::bitset<kLastSceneList + 1> ready_;
};

// What the frame sets just before replaying a list.
enum class ListSetup {
  None,
  LineWidth1,
  LineWidth2,
  PointSize4,
  TexturedGlobe,   // bind the globe texture, white, texturing on around the call
  NoDepthWidth1,   // depth test off, line width 1
  StippleWidth2,   // stipple 0x1111 factor 1 on around the call, line width 2
  PopName,         // not a list: drop the selection name so later lists carry none
};

struct ListCall {
  int list;
  ListSetup setup;
  bool operator==(const ListCall&) const = default;
};

// The lists one frame replays, in drawing order, under their switches and
// ready flags.
std::vector<ListCall> framelists(const SceneState& scene, const ReadyLists& ready);

}  // namespace netglobe
