// Every caption of both languages fits its control at 96 and 144 DPI, measured in the font
// the real view gives the control, and every report fits the status area beside its mark.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

#include "app/window_run.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_install.h"
#include "tests/fakes/fake_platform.h"
#include "ui/main_window.h"
#include "ui/win32/dpi.h"
#include "ui/win32/main_window_view.h"

namespace kelvane::ui::win32 {
namespace {

using kelvane::win32::Narrow;
using kelvane::win32::Widen;

constexpr int kFirstControlId = 100;

struct Found {
  int id;
  HWND window;
};

BOOL CALLBACK FindById(HWND window, LPARAM lparam) {
  auto* found = reinterpret_cast<Found*>(lparam);
  if (GetDlgCtrlID(window) != found->id)
    return TRUE;
  found->window = window;
  return FALSE;
}

// The real main window, loaded in one language and brought to one DPI.
class RealWindow {
 public:
  RealWindow(const std::string& switches, UINT dpi) {
    view_.CreateFrame();
    model_.emplace(view_, run_);
    model_->Load(switches, "English");
    view_.Build(*model_);
    if (DpiOf(view_.window()) != dpi) {
      RECT suggested = {0, 0, 800, 800};
      SendMessageW(view_.window(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&suggested));
    }
  }
  ~RealWindow() {
    DestroyWindow(view_.window());
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  HWND Control(ControlId id) const {
    Found found = {kFirstControlId + static_cast<int>(id), nullptr};
    EnumChildWindows(view_.window(), FindById, reinterpret_cast<LPARAM>(&found));
    return found.window;
  }
  MainWindow& model() { return *model_; }
  MainWindowView& view() { return view_; }

 private:
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
};

struct Measured {
  int text_width;
  int average_char_width;
  std::string face;
};

// As the control draws it: one line, "&&" shown as "&".
Measured MeasureCaption(HWND control) {
  std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
  text.resize(GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT r = {0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  wchar_t face[LF_FACESIZE];
  GetTextFaceW(dc, LF_FACESIZE, face);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return {r.right, metrics.tmAveCharWidth, Narrow(face)};
}

// What a control needs beside its text: the box or radio glyph and its gap, a push button's
// edges and focus frame, a group box's indent on both sides, a label's last pixel.
int Chrome(ControlKind kind, int average_char_width, UINT dpi) {
  const auto scaled = [dpi](int pixels) { return MulDiv(pixels, static_cast<int>(dpi), 96); };
  switch (kind) {
    case ControlKind::CheckBox:
    case ControlKind::Radio:
      return scaled(13) + average_char_width / 2;
    case ControlKind::Button:
      return scaled(8);
    case ControlKind::Frame:
      return scaled(16);
    case ControlKind::Label:
    case ControlKind::Link:
      return 1;  // a static control leaves out a last glyph that touches its right edge
    default:
      return 0;
  }
}

struct Case {
  const char* switches;
  UINT dpi;
};

class CaptionFit : public ::testing::TestWithParam<Case> {};

TEST_P(CaptionFit, EveryCaptionFitsItsControl) {
  RealWindow window(GetParam().switches, GetParam().dpi);
  for (const ControlDesign& d : kControls) {
    HWND control = window.Control(d.id);
    if (!control || GetWindowTextLengthW(control) == 0)
      continue;
    RECT client;
    GetClientRect(control, &client);
    const Measured m = MeasureCaption(control);
    const int needed = m.text_width + Chrome(d.kind, m.average_char_width, GetParam().dpi);
    EXPECT_LE(needed, client.right)
        << d.name << " \"" << window.model().state(d.id).text << "\" in " << m.face << " is "
        << needed - client.right << " px too wide";
    if (d.kind == ControlKind::Label || d.kind == ControlKind::Link) {
      const Rect& label = window.model().state(d.id).rect;
      const int room = window.model().state(d.container).rect.width;
      EXPECT_LE(label.left + label.width, room)
          << d.name << " leaves its container by " << label.left + label.width - room << " twips";
    }
  }
}

// Each report's mark stays inside the options box, and the help link clears the second line.
TEST_P(CaptionFit, EveryReportFitsTheStatusArea) {
  RealWindow window(GetParam().switches, GetParam().dpi);
  MainWindow& model = window.model();
  const int area = model.state(ControlId::Picture1).rect.width;
  for (Failure failure : {Failure::None, Failure::DataAccessFailed, Failure::WriteFailed,
                          Failure::HostsAccessDenied, Failure::ResetProtectionFailed}) {
    for (bool wrong_version : {false, true}) {
      RunStatus status;
      status.failure = failure;
      status.wrong_version = wrong_version;
      model.ShowRunResult(status, "7.1.0.2000");
      const ControlState& line = model.state(ControlId::Label1);
      const ControlId mark =
          model.state(ControlId::Image1).visible ? ControlId::Image1 : ControlId::Image2;
      const Rect& m = model.state(mark).rect;
      EXPECT_LE(m.left + m.width, area) << line.text << ": the mark leaves the options box by "
                                        << m.left + m.width - area << " twips";
      if (model.state(ControlId::Label3).visible) {
        const std::string second = line.text.substr(line.text.find('\n') + 1);
        const int second_end =
            line.rect.left + window.view().MeasureText(ControlId::Label1, second).width;
        EXPECT_LE(second_end, model.state(ControlId::Label3).rect.left)
            << "the help link covers \"" << second << "\" by "
            << second_end - model.state(ControlId::Label3).rect.left << " twips";
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
}  // namespace kelvane::ui::win32
