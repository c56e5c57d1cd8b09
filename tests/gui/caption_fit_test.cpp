// Every caption of both windows fits its control at 96 and 144 DPI, measured in the font the
// real views give the controls, a face that draws the umlauts whole; and every report fits the
// status area beside its mark. Prints what it measures: the face, its cell and the tightest
// caption of each window.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cstdio>
#include <optional>
#include <vector>

#include "app/window_run.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_install.h"
#include "tests/fakes/fake_platform.h"
#include "ui/main_window.h"
#include "ui/win32/dpi.h"
#include "ui/win32/info_window_view.h"
#include "ui/win32/main_window_view.h"

namespace kelvane::ui::view {
namespace {

using kelvane::win32::Narrow;
using kelvane::win32::Widen;

void BringToDpi(HWND window, UINT dpi) {
  if (DpiOf(window) == dpi)
    return;
  RECT suggested = {0, 0, 800, 800};
  SendMessageW(window, kDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// The real main window, loaded in one language, and its info window, both brought to one DPI.
class RealWindows {
 public:
  RealWindows(const std::string& switches, UINT dpi) {
    view_.CreateFrame();
    model_.emplace(view_, run_);
    model_->Load(switches, "English");
    view_.Build(*model_);
    BringToDpi(view_.window(), dpi);
    info_.emplace(GetModuleHandleW(nullptr), view_.window());
    BringToDpi(info_->window(), dpi);
  }
  ~RealWindows() {
    info_.reset();
    DestroyWindow(view_.window());
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  HWND Control(ControlId id) const { return FindControl(view_.window(), ChildId(id)); }
  MainWindow& model() { return *model_; }
  HWND main() const { return view_.window(); }
  HWND info() const { return info_->window(); }

 private:
  static HWND FindControl(HWND window, int id) {
    std::pair<int, HWND> found = {id, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM lparam) {
          auto* f = reinterpret_cast<std::pair<int, HWND>*>(lparam);
          if (GetDlgCtrlID(child) != f->first)
            return TRUE;
          f->second = child;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.second;
  }

  FakeFileSystem fs_;
  kelvane::win32::Win32Resources resources_;
  FakeSystemInfo system_;
  FakeProfile profile_;
  FakeRegistry registry_;
  FakePathNames paths_;
  FakeFileVersions versions_;
  AppPlatform platform_{fs_,       resources_, system_,   profile_,
                        registry_, paths_,     versions_, "C:\\kelvane\\"};
  WindowRun run_{platform_};
  MainWindowView view_{GetModuleHandleW(nullptr)};
  std::optional<MainWindow> model_;
  std::optional<InfoWindowView> info_;
};

std::wstring TextOf(HWND control) {
  std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
  text.resize(GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
  return text;
}

HFONT FontOf(HWND control) {
  return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

struct Drawn {
  int width;
  int average_char_width;
  std::string face_and_cell;
};

// One line as the control draws it in its font, "&&" shown as "&".
Drawn Draw(HWND control, const std::wstring& text) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, FontOf(control));
  RECT r = {0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  wchar_t face[LF_FACESIZE];
  GetTextFaceW(dc, LF_FACESIZE, face);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return {r.right, metrics.tmAveCharWidth,
          Narrow(face) + ", " + std::to_string(metrics.tmHeight) + " px cell"};
}

// What a control needs beside its text, by its class and style: the box or radio glyph and its
// gap, a push button's edges and focus frame, a group box's indent on both sides; a label draws
// all its width (a pixel less and its last word wraps out of sight). -1 for a control whose text
// is the user's.
int Chrome(HWND control, int average_char_width, UINT dpi) {
  const auto scaled = [dpi](int pixels) { return MulDiv(pixels, static_cast<int>(dpi), 96); };
  wchar_t name[16];
  GetClassNameW(control, name, 16);
  if (lstrcmpiW(name, L"Static") == 0)
    return 0;
  if (lstrcmpiW(name, L"Button") != 0)
    return -1;
  switch (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_GROUPBOX:
      return scaled(16);
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      return scaled(8);
    default:
      return scaled(13) + average_char_width / 2;
  }
}

struct Caption {
  std::string text;
  int margin;  // pixels left beside the caption; negative when it does not fit
  bool label;
};

// Every caption of a window's controls, with the room it leaves.
std::vector<Caption> Captions(HWND window, UINT dpi) {
  std::vector<HWND> controls;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM lparam) {
        reinterpret_cast<std::vector<HWND>*>(lparam)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&controls));
  std::vector<Caption> captions;
  for (HWND control : controls) {
    const std::wstring text = TextOf(control);
    const Drawn drawn = Draw(control, text);
    const int chrome = Chrome(control, drawn.average_char_width, dpi);
    if (text.empty() || chrome < 0)
      continue;
    RECT client;
    GetClientRect(control, &client);
    captions.push_back({Narrow(text), client.right - drawn.width - chrome, chrome == 0});
  }
  return captions;
}

// The top row of ink of a text drawn at the top of a white box.
int TopInkRow(HDC dc, const std::uint32_t* pixels, int width, int height, const wchar_t* text) {
  RECT box = {0, 0, width, height};
  FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  TextOutW(dc, 0, 0, text, lstrlenW(text));
  GdiFlush();
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      if ((pixels[row * width + column] & 0xFFFFFF) != 0xFFFFFF)
        return row;
    }
  }
  return height;
}

// Whether the font draws the dots of a capital umlaut, on a row of their own above the letter,
// as the screen shows them.
bool DrawsUmlautDots(HFONT font) {
  constexpr int kSize = 64;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = kSize;
  info.bmiHeader.biHeight = -kSize;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
  HGDIOBJ old_font = SelectObject(dc, font);
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  const int letter = TopInkRow(dc, pixels, kSize, kSize, L"A");
  const int umlaut = TopInkRow(dc, pixels, kSize, kSize, L"\u00c4");
  SelectObject(dc, old_font);
  SelectObject(dc, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return umlaut + 2 <= letter;
}

// The window's captions fit, in its design face, which keeps the umlauts' dots; prints the
// face and the tightest captions, and returns the face and its cell.
std::string CheckCaptions(HWND window, const char* what, const char* language, UINT dpi) {
  HWND text_control = FindWindowExW(window, nullptr, L"Button", nullptr);
  const std::string face = Draw(text_control, L"").face_and_cell;
  EXPECT_TRUE(face.starts_with("MS Sans Serif,") || face.starts_with("Microsoft Sans Serif,"))
      << what << " in " << face << ", not the face it is designed for";
  EXPECT_TRUE(DrawsUmlautDots(FontOf(text_control)))
      << what << " in " << face << ": capital umlauts lose their dots";
  Caption tightest[2] = {{"", INT_MAX, false}, {"", INT_MAX, true}};  // buttons, labels
  for (const Caption& c : Captions(window, dpi)) {
    EXPECT_GE(c.margin, 0) << what << ": \"" << c.text << "\" in " << face << " is " << -c.margin
                           << " px too wide";
    if (c.margin < tightest[c.label].margin)
      tightest[c.label] = c;
  }
  std::printf("%s, %s, %u DPI: %s; tightest button \"%s\" %d px, label \"%s\" %d px to spare\n",
              what, language, dpi, face.c_str(), tightest[0].text.c_str(), tightest[0].margin,
              tightest[1].text.c_str(), tightest[1].margin);
  return face;
}

struct Case {
  const char* switches;
  UINT dpi;
};

class CaptionFit : public ::testing::TestWithParam<Case> {};

TEST_P(CaptionFit, EveryCaptionFitsItsControl) {
  const Case& c = GetParam();
  RealWindows windows(c.switches, c.dpi);
  EXPECT_EQ(CheckCaptions(windows.main(), "main window", c.switches + 1, c.dpi),
            CheckCaptions(windows.info(), "info window", c.switches + 1, c.dpi))
      << "the main window's font is not the info window's";
  for (const ControlDesign& d : kControls) {
    if (d.kind != ControlKind::Label && d.kind != ControlKind::Link)
      continue;
    const Rect label = windows.model().state(d.id).rect;
    const int room = windows.model().state(d.container).rect.width;
    EXPECT_LE(label.left + label.width, room)
        << d.name << " leaves its container by " << label.left + label.width - room << " twips";
  }
}

// Each report's mark stays inside the options box, and the help link clears the second line.
TEST_P(CaptionFit, EveryReportFitsTheStatusArea) {
  RealWindows windows(GetParam().switches, GetParam().dpi);
  MainWindow& model = windows.model();
  const int area = model.state(ControlId::Picture1).rect.width;
  for (Failure failure : {Failure::None, Failure::DataAccessFailed, Failure::WriteFailed,
                          Failure::HostsAccessDenied, Failure::ResetProtectionFailed}) {
    for (bool wrong_version : {false, true}) {
      RunStatus status;
      status.failure = failure;
      status.wrong_version = wrong_version;
      model.ShowRunResult(status, "7.1.0.2000");
      const ControlState line = model.state(ControlId::Label1);
      const ControlId mark =
          model.state(ControlId::Image1).visible ? ControlId::Image1 : ControlId::Image2;
      const Rect m = model.state(mark).rect;
      EXPECT_LE(m.left + m.width, area) << line.text << ": the mark leaves the options box by "
                                        << m.left + m.width - area << " twips";
      if (model.state(ControlId::Label3).visible) {
        const std::string second = line.text.substr(line.text.find('\n') + 1);
        const int second_end = TwipsToPixels(line.rect.left, GetParam().dpi) +
                               Draw(windows.Control(ControlId::Label1), Widen(second)).width;
        const int link = TwipsToPixels(model.state(ControlId::Label3).rect.left, GetParam().dpi);
        EXPECT_LE(second_end, link)
            << "the help link covers \"" << second << "\" by " << second_end - link << " px";
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothLanguagesTwoDpis,
                         CaptionFit,
                         ::testing::Values(Case{"-german", 96},
                                           Case{"-english", 96},
                                           Case{"-german", 144},
                                           Case{"-english", 144}),
                         [](const auto& info) {
                           return std::string(info.param.switches + 1) +
                                  std::to_string(info.param.dpi);
                         });

}  // namespace
}  // namespace kelvane::ui::view
