#pragma once

#include <array>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QToolButton;
class QWidget;

namespace netglobe {

// The child controls of the main window, at their design positions.
struct StageControls {
  QListWidget* Listbox1 = nullptr;  // observers and chiefs
  QListWidget* Listbox2 = nullptr;  // observers
  QListWidget* Listbox3 = nullptr;  // friends
  QListWidget* Listbox4 = nullptr;  // stations of the region box
  QListWidget* Listbox5 = nullptr;  // inbound traffic
  QListWidget* Listbox6 = nullptr;  // outbound traffic
  QLineEdit* Text1 = nullptr;       // key input and view status line
  QPlainTextEdit* Text2 = nullptr;  // startup log
  QPlainTextEdit* Text3 = nullptr;  // pick detail box
  QLineEdit* Text4 = nullptr;       // pick summary line
  QLabel* Pict = nullptr;           // holds the decoded globe image
  QLineEdit* Search = nullptr;      // the search field over the top of the globe
  QListWidget* Matches = nullptr;   // its matches, best first
  QLabel* SearchNote = nullptr;     // "no match", "N more", what choosing said
  QToolButton* FilterToggle = nullptr;  // beside the field: its query filters the globe
  QLineEdit* Notice = nullptr;      // the status line's messages, under the pick boxes

  std::array<QListWidget*, 6> listboxes() const {
    return {Listbox1, Listbox2, Listbox3, Listbox4, Listbox5, Listbox6};
  }
};

// Creates the controls on stage with their positions, colours, fonts,
// visibility and tab order.
StageControls buildcontrols(QWidget* stage);

}  // namespace netglobe
