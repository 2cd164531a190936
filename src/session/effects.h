#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lists/flight_details.h"
#include "scene/key_table.h"
#include "scene/layer.h"

namespace netglobe {

// The window's four timers.
enum class TimerId {
  Refresh,      // Timer1: the feed refresh
  Flight,       // Timer2: the flight to a region
  StartZoom,    // Timer3: the zoom-in after startup
  LabelSwitch,  // Timer4: the one-shot pilot-label switch
  Marker,       // how long the ring marks a client the view has flown to
};

struct TimerSwitch {
  TimerId timer;
  bool on;
  bool operator==(const TimerSwitch&) const = default;
};

// The rows of one side list, Listbox1 to Listbox6 (windows-1252 text).
struct SideListRows {
  int box;
  std::vector<std::string> rows;
};

// The text boxes of a pick: the summary line and the detail box (CR LF
// lines), windows-1252.
struct PickText {
  std::string summary;
  std::string detail;
};

// The search field and its matches (windows-1252).
struct SearchView {
  bool open = false;
  std::vector<std::string> rows;  // the matches, best first
  std::string footer;             // "no match", "N more", or what choosing a match said
  bool filtering = false;         // the globe is filtered by the field's query
  std::optional<std::string> text = std::nullopt;  // the field's text, when it opens with a filter
};

// GL work that only the window's context can do, before the layers.
enum class GlWork {
  None,
  StartState,   // the GL state every frame relies on
  LoadTexture,  // the globe image into its texture; report with textureloaded()
  BuildGlobes,  // the two globe spheres
  // The kept image of the globe with the new active FIRs and chiefs, drawn
  // out of sight now so that the frame ending the rebuild need not.
  PrepareFrame,
};

// What the window has to do after an event, applied in the order of the
// fields. Texts are windows-1252 unless said otherwise.
struct Effects {
  std::optional<std::string> logtext;  // the whole startup log, UTF-8
  std::optional<std::string> title;
  GlWork gl = GlWork::None;
  std::vector<Layer> layers;  // compile each into its list, in this order
  std::vector<SideListRows> sidelists;  // fill them, then stack the lists again
  std::vector<ListShow> listshow;
  std::vector<TimerSwitch> timers;
  bool cornerform = false;
  std::optional<PickText> pick;
  std::optional<std::string> summary;  // the pick summary line alone
  std::optional<SearchView> search;    // the field opens, shows these, or closes
  std::optional<DetailsView> details;  // the details panel opens, shows these, or closes
  bool focusstatus = false;  // the keyboard focus back to the status line
  bool hidelog = false;
  std::vector<std::string> notes;  // one line each on stderr
  std::optional<std::string> notice;  // the status line's message
  std::vector<std::string> notify;    // one desktop notification each
  // Run a pick pass at the pointer and hand its hits to picked().
  std::optional<std::pair<float, float>> pickat;
  bool render = false;
  bool startdownload = false;  // start the status download; hand its answer to downloaded()
  bool scanhistory = false;    // read the history folder in the background; then historyfound()
  // Keep this filter ("" none) for the next run: written through filterjob()
  // off the window's thread, in the order asked; then filterkept().
  std::optional<std::string> keepfilter;
  bool startupfinished = false;
  // Handle the pending events, then call next(): a long sequence lets the
  // window live between its steps.
  bool more = false;
};

}  // namespace netglobe
