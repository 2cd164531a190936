#pragma once

#include <vector>

#include "scene/scene_state.h"
#include "scene/view_status.h"

namespace netglobe {

// A layer a key has rebuilt, with the symbol size where the layer takes one.
enum class LayerBuild {
  Aircraft,     // drawaircraft(size)
  Approach,     // drawapp(size)
  ActiveFir,    // drawactfir
  PilotLabels,  // showpilotname
};

struct Rebuild {
  LayerBuild layer;
  double size = 0;
  bool operator==(const Rebuild&) const = default;
};

// Visibility of one side list, Listbox1 to Listbox6.
struct ListShow {
  int listbox;
  bool visible;
  bool operator==(const ListShow&) const = default;
};

// The small corner form of the space key: outer window geometry in pixels,
// the caption partly above the screen's top edge.
struct CornerForm {
  int left = 0;
  int top = -20;
  int width = 315;
  int height = 203;
};

// What one key asks the window to do, in the order of the fields: take the
// switches and the view, then run each effect that is set.
struct KeyAction {
  SceneState scene;  // switches after the key
  ViewState view;    // view, stored view and flight target after the key
  bool startflight = false;  // flight timer on, keyboard focus to the status line
  bool cornerform = false;   // window state normal, then the corner geometry
  bool startzoom = false;    // start-zoom timer on
  std::vector<Rebuild> rebuilds;  // in this order
  std::vector<ListShow> lists;    // in this order
  bool render = false;            // redraw at the end
};

// The key with windows-1252 code `code` pressed on the current switches and
// view. Codes outside the table (upper-case letters among them) change
// nothing. Without a globe image the textured globe would be blank, so the
// key for it then keeps the plain one.
KeyAction keyaction(int code, const SceneState& scene, const ViewState& view, bool globeimage);

}  // namespace netglobe
