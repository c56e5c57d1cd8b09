// The main window's controls as designed: kind, container, place in twips, keyboard order and
// German caption. The window model starts from this table; the Win32 view builds from it.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

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
  std::string_view german;
  std::string_view english;  // empty: the same in both languages
  bool visible;
};

extern const std::array<ControlDesign, kControlCount> kControls;

inline const ControlDesign& Design(ControlId id) {
  return kControls[static_cast<int>(id)];
}

// Check0 ... Check10 by their number.
inline ControlId CheckBox(size_t n) {
  return static_cast<ControlId>(static_cast<size_t>(ControlId::Check0) + n);
}

}  // namespace kelvane::ui
