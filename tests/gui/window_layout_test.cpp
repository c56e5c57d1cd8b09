// The real windows, made in this process, in both languages at 96 and 144 DPI, before and after
// every report: each control in its container where its twips put it, showing the model's text,
// wide enough for its caption, in the one face the windows are designed for, which draws the
// umlauts whole; the keyboard order; the help link clear of the report's second line.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <map>
#include <optional>
#include <set>
#include <tuple>

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

// Start-up finds no settings and no ICQ; a run does what the test asks of it.
class NoRun : public RunServices {
 public:
  std::function<void()> during_run = [] {};

 private:
  bool StartAllowed(const std::string&) override { return false; }
  std::string ProgramFolder() override { return "C:\\kelvane\\"; }
  StartupSettings LoadSettings() override { return {TweakOptions(), ""}; }
  void SaveSettings(const TweakOptions&) override {}
  void ShowAltSHintOnce(const std::function<void()>&) override {}
  RunResult CheckVersionAndRun(const TweakOptions&) override {
    during_run();
    return {};
  }
};

// The main window loaded in one language, placed as when it is shown, and its info window.
struct RealWindows {
  RealWindows(const std::string& switches, UINT dpi) {
    view.CreateFrame();
    model.emplace(view, run);
    model->Load(switches, "English");
    view.Build(*model);
    BringToDpi(view.window(), dpi);
    view.Show(SW_HIDE);
    info.emplace(GetModuleHandleW(nullptr), view.window());
    BringToDpi(info->window(), dpi);
  }
  ~RealWindows() {
    info.reset();
    DestroyWindow(view.window());
    MSG quit;  // that the main window's end posts for the program: the tests go on
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
  NoRun run;
  MainWindowView view{GetModuleHandleW(nullptr)};
  std::optional<MainWindow> model;
  std::optional<InfoWindowView> info;
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

// The height the font was asked for, in pixels.
int HeightOf(HFONT font) {
  LOGFONTW asked{};
  GetObjectW(font, sizeof(asked), &asked);
  return -asked.lfHeight;
}

int DesignHeight(UINT dpi) {
  return MulDiv(825, static_cast<int>(dpi), 7200);  // 8.25 point
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

void ExpectShowsItsModel(RealWindows& w, UINT dpi) {
  std::set<std::string> faces;
  auto expect = [&](const std::string& name, ControlKind kind, HWND control, HWND container,
                    const ControlState& state) {
    SCOPED_TRACE(name);
    ASSERT_EQ(GetParent(control), container);
    RECT r, room, client;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, container, reinterpret_cast<POINT*>(&r), 2);
    GetClientRect(container, &room);
    GetClientRect(control, &client);
    const Rect& t = state.rect;
    EXPECT_NEAR(r.left, TwipsToPixels(t.left, dpi), 1);
    EXPECT_NEAR(r.top, TwipsToPixels(t.top, dpi), 1);
    EXPECT_NEAR(r.right - r.left, TwipsToPixels(t.width, dpi), 1);
    EXPECT_NEAR(r.bottom - r.top, TwipsToPixels(t.height, dpi), 1);
    EXPECT_TRUE(r.right <= room.right && r.bottom <= room.bottom) << "leaves its container";
    const std::wstring text = TextOf(control);
    EXPECT_EQ(text, Widen(state.text));
    if (kind == ControlKind::Label || kind == ControlKind::Link) {
      EXPECT_LE(TextWidth(control, text), client.right) << "the caption is cut";
    } else if (kind != ControlKind::Edit) {
      EXPECT_TRUE(CaptionFits(FontOf(control), kind, text, client.right, dpi)) << "cut";
    }
    if (HFONT font = FontOf(control)) {
      faces.insert(FaceDrawingUmlauts(font));
      // The design's size at the window's DPI, or a little smaller where a caption needs it.
      const int height = HeightOf(font), design = DesignHeight(dpi);
      EXPECT_TRUE(height <= design && height >= design * 3 / 4) << height << " px for " << design;
    }
  };
  auto main = Children(w.view.window()), info = Children(w.info->window());
  for (const ControlDesign& d : kControls) {
    if (d.id != C::Form1)
      expect(std::string(d.name), d.kind, main[ChildId(d.id)],
             main[d.container == C::Form1 ? 0 : ChildId(d.container)], w.model->state(d.id));
  }
  for (const InfoControlDesign& d : kInfoControls) {
    expect("info " + std::string(d.name), d.kind, info[ChildId(d.id)],
           info[d.in_frame ? ChildId(InfoControlId::Frame1) : 0], {std::string(d.text), d.rect});
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
    const ControlState s = w.model->state(d.id);
    const bool takes_focus = d.kind == ControlKind::Edit || d.kind == ControlKind::Button ||
                             d.kind == ControlKind::CheckBox ||
                             (d.kind == ControlKind::Radio && s.check == CheckState::Ticked);
    if (d.tab_index >= 0 && s.enabled && s.visible && takes_focus)
      designed.push_back(d.name);
  }
  HWND main = w.view.window(), first = GetNextDlgTabItem(main, nullptr, FALSE), at = first;
  for (size_t i = 0; i < designed.size() && at; ++i, at = GetNextDlgTabItem(main, at, FALSE))
    walked.push_back(Design(static_cast<C>(GetDlgCtrlID(at) - kMainChildIds)).name);
  EXPECT_EQ(walked, designed);
  EXPECT_EQ(at, first);
}

TEST(Window, ShowsItsModelInEveryReport) {
  for (const auto& [switches, dpi] : {std::pair<const char*, UINT>{"-german", 96},
                                      {"-english", 96},
                                      {"-english", 120},
                                      {"-german", 144},
                                      {"-english", 144}}) {
    SCOPED_TRACE(std::string(switches) + " at " + std::to_string(dpi) + " DPI");
    RealWindows w(switches, dpi);
    ExpectShowsItsModel(w, dpi);
    ExpectKeyboardOrder(w);
    auto main = Children(w.view.window());
    HWND line = main[ChildId(C::Label1)], link = main[ChildId(C::Label3)];
    for (Failure failure : {Failure::None, Failure::DataAccessFailed, Failure::WriteFailed,
                            Failure::HostsAccessDenied, Failure::ResetProtectionFailed}) {
      for (bool wrong_version : {false, true}) {
        w.model->ShowRunResult({failure, wrong_version, {}}, "7.1.0.2000");
        w.view.Repaint();
        const std::string report = w.model->state(C::Label1).text;
        SCOPED_TRACE(report);
        ExpectShowsItsModel(w, dpi);
        if (!w.model->state(C::Label3).visible)
          continue;
        RECT line_rect, link_rect;
        GetWindowRect(line, &line_rect);
        GetWindowRect(link, &link_rect);
        const std::string second = report.substr(report.find('\n') + 1);
        EXPECT_LE(line_rect.left + TextWidth(line, Widen(second)), link_rect.left)
            << "the help link covers the report's second line";
      }
    }
  }
}

// Where the face runs wider than the design's, as on some systems, the font shrinks a pixel at a
// time until the captions fit, the link's with it, and still draws the umlauts whole.
TEST(Window, FontShrinksUntilTheCaptionsFit) {
  for (const UINT dpi : {96u, 144u}) {
    int asked = 0;
    Fonts fonts;
    fonts.Create(dpi, [&](HFONT) { return ++asked > 2; });
    EXPECT_EQ(HeightOf(fonts.text()), DesignHeight(dpi) - 2) << dpi;
    EXPECT_EQ(HeightOf(fonts.For(ControlKind::Link)), DesignHeight(dpi) - 2) << dpi;
    EXPECT_NE(FaceDrawingUmlauts(fonts.text()), "") << dpi;
  }
}

// A run may wait minutes for another run or for a file that ICQ holds: meanwhile the window
// answers, so that Windows does not offer to end it, but nothing ends the run before its report:
// no click on Start (by a tool), no close (the taskbar's), no end of the session; one that ends
// all the same waits for the run.
TEST(Window, AnswersButTakesNoInputWhileARunWaits) {
  RealWindows w("-english", 96);
  HWND main = w.view.window(), start = Children(main)[ChildId(C::Command3)];
  int runs = 0;
  bool enabled = true;
  std::vector<DWORD_PTR> answers;
  std::atomic<bool> run_ended = false;
  std::future<bool> session_ended_after_the_run;
  w.run.during_run = [&] {
    if (++runs > 1)
      return;
    enabled = IsWindowEnabled(main);
    answers = std::async(std::launch::async, [&] {
                std::vector<DWORD_PTR> results;
                for (const auto& [message, wparam, lparam] :
                     {std::tuple<UINT, WPARAM, LPARAM>{WM_COMMAND,
                                                       MAKEWPARAM(GetDlgCtrlID(start), BN_CLICKED),
                                                       reinterpret_cast<LPARAM>(start)},
                      {WM_CLOSE, 0, 0},
                      {WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF}}) {
                  DWORD_PTR result = 0;
                  const bool answered = SendMessageTimeoutW(main, message, wparam, lparam,
                                                            SMTO_NORMAL, 2000, &result);
                  results.push_back(answered ? result : 99);
                }
                return results;
              }).get();
    session_ended_after_the_run = std::async(std::launch::async, [&] {
      SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, nullptr);
      return run_ended.load();
    });
    Sleep(300);
    run_ended = true;
  };
  w.model->Click(C::Command3);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(answers, (std::vector<DWORD_PTR>{0, 0, 0})) << "99: no answer";
  EXPECT_TRUE(session_ended_after_the_run.get()) << "the session ended before the run";
  EXPECT_FALSE(enabled);
  EXPECT_TRUE(IsWindowEnabled(main)) << "closed, or not enabled after the run";
  EXPECT_EQ(w.model->state(C::Label1).text, "Changes successful!");
}

// Each window, active again after the other was, or restored after it was minimised, gives the
// focus back to the control that had it, as a dialog does: Enter then still presses that button.
TEST(Window, ActivationGivesTheFocusBack) {
  RealWindows w("-english", 96);
  HWND main = w.view.window(), info = w.info->window();
  const struct {
    HWND window, other, control;  // no other: minimised and restored
  } rows[] = {
      {main, info, Children(main)[ChildId(C::Command1)]},
      {info, main, Children(info)[ChildId(InfoControlId::Command4)]},
      {main, nullptr, Children(main)[ChildId(C::Check3)]},
  };
  ShowWindow(main, SW_SHOW);
  ShowWindow(info, SW_SHOW);
  for (const auto& r : rows) {
    SetActiveWindow(r.window);
    SetFocus(r.control);
    if (r.other) {
      SetActiveWindow(r.other);
      SetActiveWindow(r.window);
    } else {
      ShowWindow(r.window, SW_MINIMIZE);
      ShowWindow(r.window, SW_RESTORE);
    }
    EXPECT_EQ(GetFocus(), r.control) << Narrow(TextOf(r.control));
  }
}

}  // namespace
}  // namespace kelvane::ui::view
