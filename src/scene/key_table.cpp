#include "scene/key_table.h"

#include "scene/flight.h"

namespace netglobe {
namespace {

// A ±1 switch negated; true when it is now on.
bool toggle(int& onoff) {
  onoff = -onoff;
  return onoff == 1;
}

void fly(KeyAction& a, double lon, double tilt) {
  a.view.targetlon = lon;
  a.view.targettilt = tilt;
  a.view.exacttarget = false;
  a.startflight = true;
}

void setview(KeyAction& a, double dist, float lon, float tilt) {
  a.view.viewdist = dist;
  a.view.viewlon = lon;
  a.view.viewtilt = tilt;
  a.render = true;
}

void showlists(KeyAction& a, int onoff) {
  SceneState& s = a.scene;
  s.showlist12 = s.showlist3 = s.showlist4 = s.showlist5 = s.showlist6 = onoff;
  for (int box = 1; box <= 6; ++box) a.lists.push_back({box, onoff == 1});
  s.stationlabels = -1;
  a.render = true;
}

}  // namespace

KeyAction keyaction(int code, const SceneState& scene, const ViewState& view, bool globeimage) {
  KeyAction a;
  a.scene = scene;
  a.view = view;
  SceneState& s = a.scene;
  ViewState& v = a.view;
  switch (code) {
    case 'q': fly(a, -97, 50); break;   // North America
    case 'a': fly(a, -60, 108); break;  // South America
    case 'w': fly(a, 12, 38); break;    // Europe
    case 's': fly(a, 16, 82); break;    // Africa
    case 'e': fly(a, 110, 54); break;   // Asia
    case 'd': fly(a, 130, 110); break;  // Australia
    case ' ':
      fly(a, 12, 38);
      a.cornerform = true;
      v.viewdist = 2.78;
      a.render = true;
      break;
    case 252: setview(a, 3.9, 10.0f, 44.0f); break;  // ü
    case '+': setview(a, kCloseDist, 12.5f, 39.3f); break;
    case 180: setview(a, 11.5, 12.0f, 39.0f); break;  // ´: the start view
    case '\'':
      v.saveddist = v.viewdist;
      v.savedlon = v.viewlon;
      v.savedtilt = v.viewtilt;
      break;
    case '#':
      // Restored exactly as stored, without the zoom clamps.
      setview(a, v.saveddist, static_cast<float>(v.savedlon), static_cast<float>(v.savedtilt));
      break;
    case 'y':
      if (globeimage) s.globestyle = 1;
      a.render = true;
      break;
    case 'x':
      s.globestyle = 2;
      a.render = true;
      break;
    case '1': case '2': case '3': case '4': case '5':
      s.pilotlabelmode = code - '0';
      a.rebuilds = {{LayerBuild::PilotLabels}};
      s.pilotlabels = 1;
      a.render = true;
      break;
    case 'n':
      toggle(s.stationlabels);
      a.render = true;
      break;
    case 'm':
      toggle(s.pilotlabels);
      a.render = true;
      break;
    case 'c':
      toggle(s.actfirmode);
      a.rebuilds = {{LayerBuild::ActiveFir}};
      a.render = true;
      break;
    case 'p':
      // Until the next refresh, which builds the normal sizes again.
      if (toggle(s.symbolsize)) {
        a.rebuilds = {{LayerBuild::Aircraft, 0.05}, {LayerBuild::Approach, 0.8}};
      } else {
        a.rebuilds = {{LayerBuild::Aircraft, 0.5}, {LayerBuild::Approach, 2}};
      }
      a.render = true;
      break;
    case 'g': a.startzoom = true; break;
    // The list keys change visibility only; nothing is redrawn.
    case 'o': {
      const bool on = toggle(s.showlist12);
      a.lists = {{1, on}, {2, on}};
      break;
    }
    case 'f': a.lists = {{3, toggle(s.showlist3)}}; break;
    case 'i': a.lists = {{4, toggle(s.showlist4)}}; break;
    case 228: a.lists = {{5, toggle(s.showlist5)}}; break;  // ä
    case '-': a.lists = {{6, toggle(s.showlist6)}}; break;
    case 27: showlists(a, -1); break;  // Esc
    case 8: showlists(a, 1); break;    // Backspace
    default: break;
  }
  return a;
}

}  // namespace netglobe
