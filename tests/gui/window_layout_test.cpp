// The real windows, made in this process, in both languages at 96 and 144 DPI: every
// control in its container where its twips put it, showing the model's text, inside its
// container and wide enough for its caption; one face the windows are designed for, which draws
// the umlauts whole; the keyboard order; and so after every report, whose help link stays clear
// of the report's second line.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "platform/win32/text.h"
#include "ui/main_window.h"
#include "ui/win32/dpi.h"
#include "ui/win32/info_window_view.h"
#include "ui/win32/main_window_view.h"

namespace kelvane::ui::view {
namespace {

using kelvane::win32::Narrow;
using kelvane::win32::Widen;
using C = ControlId;

void BringToDpi(HWND window, UINT dpi) {
  RECT suggested = {0, 0, 800, 800};
  if (DpiOf(window) != dpi)
    SendMessageW(window, kDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// Start-up finds no settings and no ICQ.
class NoRun : public RunServices {
  bool StartAllowed(const std::string&) override { return false; }
  std::string ProgramFolder() override { return "C:\\kelvane\\"; }
  StartupSettings LoadSettings() override { return {TweakOptions(), ""}; }
  void SaveSettings(const TweakOptions&) override {}
  void ShowAltSHintOnce(const std::function<void()>&) override {}
  RunResult CheckVersionAndRun(const TweakOptions&) override { return {}; }
};

// The main window loaded in one language, placed as when it is shown, and its info window.
class RealWindows {
 public:
  RealWindows(const std::string& switches, UINT dpi) {
    view_.CreateFrame();
    model_.emplace(view_, run_);
    model_->Load(switches, "English");
    view_.Build(*model_);
    BringToDpi(view_.window(), dpi);
    view_.Show(SW_HIDE);
    info_.emplace(GetModuleHandleW(nullptr), view_.window());
    BringToDpi(info_->window(), dpi);
  }
  ~RealWindows() {
    info_.reset();
    DestroyWindow(view_.window());
  }
  MainWindow& model() { return *model_; }
  MainWindowView& view() { return view_; }
  HWND info() const { return info_->window(); }

 private:
  NoRun run_;
  MainWindowView view_{GetModuleHandleW(nullptr)};
  std::optional<MainWindow> model_;
  std::optional<InfoWindowView> info_;
};

std::map<int, HWND> Children(HWND window) {
  std::map<int, HWND> children = {{0, window}};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM found) {
        (*reinterpret_cast<std::map<int, HWND>*>(found))[GetDlgCtrlID(child)] = child;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  return children;
}

std::wstring TextOf(HWND control) {
  std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
  text.resize(GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
  return text;
}

HFONT FontOf(HWND control) {
  return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

// The width of the text's longest line in the control's font, "&&" drawn as "&".
int TextWidth(HWND control, const std::wstring& text) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, FontOf(control));
  RECT r = {0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return r.right;
}

// The font's face and cell height, or nothing when it does not draw the dots of a capital
// umlaut on rows of their own above the letter, as the screen shows them.
std::string FaceDrawingUmlauts(HFONT font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 64, 64);
  SelectObject(dc, bitmap);
  SelectObject(dc, font);
  int top[2] = {64, 64};  // of the ink of "A" and of "Ä"
  for (int i = 0; i < 2; ++i) {
    PatBlt(dc, 0, 0, 64, 64, WHITENESS);
    TextOutW(dc, 0, 0, i ? L"\u00c4" : L"A", 1);
    for (int pixel = 0; pixel < 64 * 64 && top[i] == 64; ++pixel) {
      if (GetPixel(dc, pixel % 64, pixel / 64) != RGB(255, 255, 255))
        top[i] = pixel / 64;
    }
  }
  wchar_t face[LF_FACESIZE];
  GetTextFaceW(dc, LF_FACESIZE, face);
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return top[1] + 2 <= top[0] ? Narrow(face) + ", " + std::to_string(metrics.tmHeight) + " px" : "";
}

struct Shown {
  std::string name;
  ControlKind kind;
  HWND control, container;
  ControlState state;
};

// Every control of both windows with what their models give it.
std::vector<Shown> Controls(RealWindows& w) {
  std::vector<Shown> shown;
  auto main = Children(w.view().window()), info = Children(w.info());
  for (const ControlDesign& d : kControls) {
    if (d.id != C::Form1) {
      shown.push_back({std::string(d.name), d.kind, main[ChildId(d.id)],
                       main[d.container == C::Form1 ? 0 : ChildId(d.container)],
                       w.model().state(d.id)});
    }
  }
  for (const InfoControlDesign& d : kInfoControls) {
    shown.push_back({"info " + std::string(d.name),
                     d.kind,
                     info[ChildId(d.id)],
                     info[d.in_frame ? ChildId(InfoControlId::Frame1) : 0],
                     {std::string(d.text), d.rect}});
  }
  return shown;
}

void ExpectShowsItsModel(RealWindows& w, UINT dpi) {
  std::set<std::string> faces;
  for (const Shown& c : Controls(w)) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(GetParent(c.control), c.container);
    RECT r, room, client;
    GetWindowRect(c.control, &r);
    MapWindowPoints(HWND_DESKTOP, c.container, reinterpret_cast<POINT*>(&r), 2);
    GetClientRect(c.container, &room);
    GetClientRect(c.control, &client);
    const Rect& t = c.state.rect;
    EXPECT_NEAR(r.left, TwipsToPixels(t.left, dpi), 1);
    EXPECT_NEAR(r.top, TwipsToPixels(t.top, dpi), 1);
    EXPECT_NEAR(r.right - r.left, TwipsToPixels(t.width, dpi), 1);
    EXPECT_NEAR(r.bottom - r.top, TwipsToPixels(t.height, dpi), 1);
    EXPECT_TRUE(r.right <= room.right && r.bottom <= room.bottom) << "leaves its container";
    const std::wstring text = TextOf(c.control);
    EXPECT_EQ(text, Widen(c.state.text));
    if (c.kind == ControlKind::Label || c.kind == ControlKind::Link) {
      EXPECT_LE(TextWidth(c.control, text), client.right) << "the caption is cut";
    } else if (c.kind != ControlKind::Edit) {
      EXPECT_TRUE(CaptionFits(FontOf(c.control), c.kind, text, client.right, dpi)) << "cut";
    }
    if (FontOf(c.control))
      faces.insert(FaceDrawingUmlauts(FontOf(c.control)));
  }
  ASSERT_EQ(faces.size(), 1u) << "one face for both windows";
  EXPECT_TRUE(faces.begin()->starts_with("MS Sans Serif,") ||
              faces.begin()->starts_with("Microsoft Sans Serif,"))
      << "\"" << *faces.begin() << "\": not a face the windows are designed for, or one whose "
      << "capital umlauts lose their dots";
}

// Tab walks the controls that can take the focus in the design's keyboard order, and round; of
// the two mode buttons, the selected one.
void ExpectKeyboardOrder(RealWindows& w) {
  std::vector<ControlDesign> order(kControls.begin(), kControls.end());
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.tab_index < b.tab_index; });
  std::vector<std::string_view> designed, walked;
  for (const ControlDesign& d : order) {
    const ControlState s = w.model().state(d.id);
    if (d.tab_index >= 0 && s.enabled && s.visible &&
        (d.kind == ControlKind::Edit || d.kind == ControlKind::Button ||
         d.kind == ControlKind::CheckBox ||
         (d.kind == ControlKind::Radio && s.check == CheckState::Ticked))) {
      designed.push_back(d.name);
    }
  }
  HWND main = w.view().window(), first = GetNextDlgTabItem(main, nullptr, FALSE), at = first;
  for (size_t i = 0; i < designed.size() && at; ++i, at = GetNextDlgTabItem(main, at, FALSE))
    walked.push_back(Design(static_cast<C>(GetDlgCtrlID(at) - kMainChildIds)).name);
  EXPECT_EQ(walked, designed);
  EXPECT_EQ(at, first);
}

struct Case {
  const char* switches;
  UINT dpi;
};

class Window : public ::testing::TestWithParam<Case> {};

TEST_P(Window, ShowsItsModelInEveryReport) {
  RealWindows w(GetParam().switches, GetParam().dpi);
  ExpectShowsItsModel(w, GetParam().dpi);
  ExpectKeyboardOrder(w);
  auto main = Children(w.view().window());
  for (Failure failure : {Failure::None, Failure::DataAccessFailed, Failure::WriteFailed,
                          Failure::HostsAccessDenied, Failure::ResetProtectionFailed}) {
    for (bool wrong_version : {false, true}) {
      RunStatus status;
      status.failure = failure;
      status.wrong_version = wrong_version;
      w.model().ShowRunResult(status, "7.1.0.2000");
      w.view().Repaint();
      const std::string report = w.model().state(C::Label1).text;
      SCOPED_TRACE(report);
      ExpectShowsItsModel(w, GetParam().dpi);
      if (!w.model().state(C::Label3).visible)
        continue;
      RECT line, link;
      GetWindowRect(main[ChildId(C::Label1)], &line);
      GetWindowRect(main[ChildId(C::Label3)], &link);
      const std::string second = report.substr(report.find('\n') + 1);
      EXPECT_LE(line.left + TextWidth(main[ChildId(C::Label1)], Widen(second)), link.left)
          << "the help link covers the report's second line";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothLanguagesTwoDpis,
                         Window,
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
