// The windows' controls as designed: kind, container, place in twips, keyboard order, and
// their captions in both languages. The window models start from these tables; the Win32
// views build from them.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "settings/language.h"

namespace kelvane::ui {

enum class ControlId {
  Form1,
  Label2,
  Frame1,
  Picture2,
  Text1,
  Command4,
  Frame2,
  Picture1,
  Option2,
  Option1,
  Check0,
  Check1,
  Check2,
  Check3,
  Check4,
  Check5,
  Check6,
  Check7,
  Check8,
  Check9,
  Check10,
  Label4,
  Label1,
  Label3,
  Image1,
  Image2,
  Command3,
  Command1,
  Command2,
};

inline constexpr int kControlCount = static_cast<int>(ControlId::Command2) + 1;

enum class ControlKind {
  Window,
  Label,
  Link,
  Frame,
  Container,
  Edit,
  Button,
  CheckBox,
  Radio,
  Mark
};

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;  // twips, relative to the container
  bool operator==(const Rect&) const = default;
};

struct ControlDesign {
  ControlId id;
  std::string_view name;
  ControlKind kind;
  ControlId container;
  Rect rect;
  int tab_index;  // -1: not in the keyboard order
  bool visible;
};

// The main window's controls, in ControlId order.
extern const std::array<ControlDesign, kControlCount> kControls;

inline const ControlDesign& Design(ControlId id) {
  return kControls[static_cast<int>(id)];
}

// Check0 ... Check10 by their number.
inline ControlId CheckBox(size_t n) {
  return static_cast<ControlId>(static_cast<size_t>(ControlId::Check0) + n);
}

struct Caption {
  ControlId id;
  std::string_view german;   // the window is designed with it
  std::string_view english;  // empty: the same in both languages
};

// In ControlId order.
extern const std::array<Caption, kControlCount> kCaptions;

// The control's caption in the language; empty for a control without one.
inline std::string_view CaptionOf(ControlId id, UiLanguage language) {
  const Caption& c = kCaptions[static_cast<int>(id)];
  return language == UiLanguage::English && !c.english.empty() ? c.english : c.german;
}

// Where controls move from their design places, in twips.
struct LayoutChanges {
  int english_check10_width;  // English captions: the shorter Check10 and its hint link
  int english_label4_left;
  int english_label3_left;  // the help link, beside the English report's shorter second line
  int two_line_label1_top;  // a two-line report's status line and failure mark
  int two_line_image2_top;
  int mark_gap;  // from the end of the status line's longest line to the report's mark
};

extern const LayoutChanges kLayoutChanges;

// The info window, whose texts are the same in both languages.
enum class InfoControlId { Command1, Frame1, Label4, Label5, Command4 };

inline constexpr int kInfoControlCount = static_cast<int>(InfoControlId::Command4) + 1;

struct InfoControlDesign {
  InfoControlId id;
  std::string_view name;
  ControlKind kind;
  bool in_frame;  // on Frame1, else on the window
  Rect rect;
  std::string_view text;
};

inline constexpr Rect kInfoClient = {0, 0, 3120, 1635};  // the info window's client area

// In InfoControlId order, which is the keyboard order: OK first, so that it holds the focus
// when the window opens.
extern const std::array<InfoControlDesign, kInfoControlCount> kInfoControls;

}  // namespace kelvane::ui
