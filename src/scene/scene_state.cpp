#include "scene/scene_state.h"

namespace netglobe {

std::vector<ListCall> framelists(const SceneState& s, const ReadyLists& ready) {
  std::vector<ListCall> calls;
  const auto add = [&calls](bool when, int list, ListSetup setup) {
    if (when) calls.push_back({list, setup});
  };
  // A list is replayed when its switch is on and it has been built.
  const auto built = [&](bool when, int list, ListSetup setup) { add(when && ready[list], list, setup); };
  built(s.globestyle == 1, kTexGlobeList, ListSetup::TexturedGlobe);
  built(s.globestyle != 1, kPlainGlobeList, ListSetup::None);

  built(s.globestyle == 2, kGradeList, ListSetup::LineWidth1);
  built(true, kFirList, ListSetup::LineWidth1);
  built(true, kCoastList, ListSetup::LineWidth1);
  built(true, kActFirList, ListSetup::LineWidth2);
  built(true, kChiefList, ListSetup::StippleWidth2);
  built(true, kAppList, ListSetup::NoDepthWidth1);
  built(true, kTwrList, ListSetup::LineWidth1);
  built(true, kAircraftList, ListSetup::PointSize4);
  add(s.selecting, 0, ListSetup::PopName);

  // The trails carry no names: drawn before the aircraft they would be
  // picked as the last tower.
  built(s.trails == 1, kTrailList, ListSetup::LineWidth1);
  built(s.details == 1 && !s.selecting, kDetailList, ListSetup::None);
  built(true, kDirList, ListSetup::None);
  built(s.stationlabels == 1, kCtrLabelList, ListSetup::None);
  built(s.stationlabels == 1, kAprLabelList, ListSetup::None);
  built(s.stationlabels == 1, kTwrLabelList, ListSetup::None);
  built(s.pilotlabels == 1, kPilotLabelList, ListSetup::None);
  // The ring names nothing, so a pick leaves it out.
  built(s.marker == 1 && !s.selecting, kMarkerList, ListSetup::None);
  return calls;
}

}  // namespace netglobe
