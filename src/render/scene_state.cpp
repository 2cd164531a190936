#include "render/scene_state.h"

namespace netglobe {

std::vector<ListCall> framelists(const SceneState& s) {
  std::vector<ListCall> calls;
  const auto add = [&calls](bool when, int list, ListSetup setup) {
    if (when) calls.push_back({list, setup});
  };
  add(s.globestyle == 1 && s.texglobeready == 1, kTexGlobeList, ListSetup::TexturedGlobe);
  add(s.globestyle != 1 && s.plainglobeready == 1, kPlainGlobeList, ListSetup::None);

  add(s.globestyle == 2 && s.gradeready == 1, kGradeList, ListSetup::LineWidth1);
  add(s.firready == 1, kFirList, ListSetup::LineWidth1);
  add(s.coastready == 1, kCoastList, ListSetup::LineWidth1);
  add(s.actfirready == 1, kActFirList, ListSetup::LineWidth2);
  add(s.chiefready == 1, kChiefList, ListSetup::StippleWidth2);
  add(s.appready == 1, kAppList, ListSetup::NoDepthWidth1);
  add(s.twrready == 1, kTwrList, ListSetup::LineWidth1);
  add(s.aircraftready == 1, kAircraftList, ListSetup::PointSize4);
  add(s.selecting, 0, ListSetup::PopName);

  add(s.dirready == 1, kDirList, ListSetup::None);
  add(s.stationlabels == 1, kCtrLabelList, ListSetup::None);
  add(s.stationlabels == 1, kAprLabelList, ListSetup::None);
  add(s.stationlabels == 1, kTwrLabelList, ListSetup::None);
  add(s.pilotlabels == 1, kPilotLabelList, ListSetup::None);
  return calls;
}

}  // namespace netglobe
