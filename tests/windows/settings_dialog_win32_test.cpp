// The settings dialog and the Command button as Win32 windows under Wine: the dialog's
// window and its controls' places, its painted pixels, the button's GDI face against the
// face the core paints, and the button's states driven by real window messages.

#include <gtest/gtest.h>
#include <windows.h>

#include "host/dialog/settings_dialog.h"
// commctrl.h after windows.h: the tooltip's messages.
#include <commctrl.h>

#include <chrono>
#include <map>
#include <set>

#include "host/Orvane_B.h"
#include "host/controls/command_window_win32.h"
#include "platform/win32/win32_platform.h"
#include "tests/dialog/form_places.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using testing::InForm;

template <typename Condition>
bool Pump(std::chrono::milliseconds timeout, Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  }
  return true;
}

void PumpFor(std::chrono::milliseconds time) {
  Pump(time, [] { return false; });
}

struct Rgb {
  int r, g, b;
};

// A pixel of a window's client area as the screen shows it.
Rgb ScreenPixel(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

bool Near(Rgb a, Rgb b, int tolerance = 2) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

std::string Text(Rgb c) {
  char text[16];
  std::snprintf(text, sizeof text, "%02X%02X%02X", c.r, c.g, c.b);
  return text;
}

// A control's rectangle in the client area of the dialog.
DialogRect InClient(HWND dialog, HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return DialogRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

HWND Hwnd(WindowHandle window) {
  return static_cast<HWND>(ToHwnd(window));
}

BOOL CALLBACK Collect(HWND window, LPARAM data) {
  reinterpret_cast<std::set<HWND>*>(data)->insert(window);
  return TRUE;
}

class SettingsDialogWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(real_, nullptr);
    BGM_Kind = 1;
    BGM_RepeatTrack = 12;
    BGM_File = "C:\\Music\\a.mp3";
    SetCursorPos(5, 5);
  }
  std::unique_ptr<Win32Platform> real_ = Win32Platform::Open();
};

TEST_F(SettingsDialogWin32Test, OpensTitledAndSizedWithEveryControlAtItsPlace) {
  const auto dialog = MakeSettingsDialog(real_->platform());
  dialog->Show();
  const HWND window = Hwnd(dialog->Window());
  ASSERT_TRUE(IsWindowVisible(window));

  EXPECT_EQ(FindWindowA(nullptr, "<Orvane>"), window);
  wchar_t title[32] = {};
  GetWindowTextW(window, title, 32);
  EXPECT_EQ(std::wstring(title), L"<Orvane>");
  EXPECT_EQ(GetParent(window), nullptr);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 492);
  EXPECT_EQ(client.bottom, 246);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

  // Centred across the 1024 x 768 screen, a third of the way down.
  RECT outer{};
  GetWindowRect(window, &outer);
  EXPECT_NEAR(outer.left, (1024 - (outer.right - outer.left)) / 2, 1);
  EXPECT_NEAR(outer.top, (768 - (outer.bottom - outer.top)) / 3, 1);

  std::set<HWND> children;
  EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&children));
  for (const char* name : {"Pic_C", "BGM_Repeat", "Cmd_File", "Cmd_Set", "Cmd_Can"}) {
    const HWND control = Hwnd(dialog->ControlWindow(name));
    ASSERT_TRUE(children.count(control)) << name;
    const DialogRect got = InClient(window, control), want = InForm(name);
    if (std::string_view(name) == "BGM_Repeat") {
      // Wine's combo box keeps its closed height at its font's cell height plus 4 (22 pixels
      // with the font it stands in for the design's 9.75 points), two more than the design's
      // 20: CB_SETITEMHEIGHT for the selection field only ever makes it taller there, and only
      // an 8.25-point Japanese font would give 20 (Tahoma 8.25 gives 21).
      EXPECT_EQ((DialogPoint{got.X, got.Y}), (DialogPoint{want.X, want.Y}));
      EXPECT_EQ(got.Width, want.Width);
      EXPECT_GE(got.Height, want.Height);
      EXPECT_LE(got.Height, want.Height + 2);
    } else {
      EXPECT_EQ(got, want) << name;
    }
  }
  // The repeat box: editable, its list "" and "1" to "30", showing the track.
  const HWND repeat = Hwnd(dialog->ControlWindow("BGM_Repeat"));
  EXPECT_EQ(SendMessageW(repeat, CB_GETCOUNT, 0, 0), 31);
  wchar_t entry[8] = {};
  SendMessageW(repeat, CB_GETLBTEXT, 30, reinterpret_cast<LPARAM>(entry));
  EXPECT_EQ(std::wstring(entry), L"30");
  SendMessageW(repeat, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(entry));
  EXPECT_EQ(std::wstring(entry), L"");
  GetWindowTextW(repeat, entry, 8);
  EXPECT_EQ(std::wstring(entry), L"12");
  EXPECT_TRUE(IsWindowEnabled(repeat));
  // No control has the focus.
  EXPECT_EQ(GetFocus(), window);

  // What the form and the panel paint, read from the screen.
  PumpFor(300ms);
  UpdateWindow(window);
  EXPECT_TRUE(Near(ScreenPixel(window, 486, 0), {0, 0, 30}));
  EXPECT_TRUE(Near(ScreenPixel(window, 486, 123), {220, 220, 250}))
      << Text(ScreenPixel(window, 486, 123));
  EXPECT_TRUE(Near(ScreenPixel(window, 486, 245), {3, 3, 33}));
  const DialogRect shape = InForm("Shape3", 3);
  EXPECT_TRUE(Near(ScreenPixel(window, shape.X, shape.Y), {0, 0, 0}));
  EXPECT_TRUE(Near(ScreenPixel(window, shape.X + shape.Width - 1, shape.Y + 10), {0, 0, 0}));
  // The chosen mark (audio CD) is filled with blue, the others are light.
  const DialogRect cd = InForm("Img_BGM", 1), none = InForm("Img_BGM", 0);
  const Rgb chosen = ScreenPixel(window, cd.X + 6, cd.Y + 6);
  const Rgb notChosen = ScreenPixel(window, none.X + 6, none.Y + 6);
  EXPECT_GT(chosen.b, chosen.r + 60) << Text(chosen);
  EXPECT_GT(notChosen.r, 200) << Text(notChosen);
  // The panel's grey tile, darker at its right than at its left.
  const Rgb left = ScreenPixel(window, InForm("Pic_C").X + 3, InForm("Pic_C").Y + 3);
  EXPECT_GT(left.r, 200) << Text(left);
  EXPECT_LT(left.r, 240) << Text(left);
  // The link label's white text over the dark band.
  const DialogRect link = InForm("lbl_URL");
  int white = 0;
  for (int y = link.Y; y < link.Y + link.Height; ++y)
    for (int x = link.X; x < link.X + link.Width; ++x)
      if (Near(ScreenPixel(window, x, y), {255, 255, 255}, 10)) ++white;
  EXPECT_GT(white, 40);
  // The repeat box's field is white right of its text "12".
  const DialogRect box = InClient(window, repeat);
  const Rgb field = ScreenPixel(window, box.X + box.Width / 2, box.Y + box.Height - 5);
  EXPECT_TRUE(Near(field, {255, 255, 255})) << Text(field);
  // Choosing "MP3、WAV" by its label moves the mark.
  const DialogRect fileLabel = InForm("lbl_BGM", 2);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fileLabel.X + 10, fileLabel.Y + 5));
  EXPECT_EQ(BGM_Kind, 2);
  EXPECT_FALSE(IsWindowEnabled(repeat));
}

TEST_F(SettingsDialogWin32Test, EnterAndEscapeLeaveTheDialogOpen) {
  const auto dialog = MakeSettingsDialog(real_->platform());
  dialog->Show();
  const HWND window = Hwnd(dialog->Window());
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    PostMessageW(window, WM_KEYDOWN, key, 0);
    PostMessageW(Hwnd(dialog->ControlWindow("Cmd_Set")), WM_KEYDOWN, key, 0);
  }
  PostMessageW(window, WM_NULL, 0, 0);
  // The modal loop ends when the dialog closes; the close box ends this one.
  SetTimer(window, 77, 400, [](HWND window, UINT, UINT_PTR, DWORD) {
    KillTimer(window, 77);
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  const int kind = BGM_Kind;
  const auto start = std::chrono::steady_clock::now();
  dialog->RunModal();
  EXPECT_GE(std::chrono::steady_clock::now() - start, 350ms);
  EXPECT_TRUE(dialog->Closed());
  EXPECT_EQ(BGM_Kind, kind);
}

// Resting the pointer on the music file's label shows its whole path, however much of it the
// label shows.
TEST_F(SettingsDialogWin32Test, TheMusicFilesLabelHasTheWholePathAsItsTooltip) {
  const auto dialog = MakeSettingsDialog(real_->platform());
  dialog->Show();
  const HWND window = Hwnd(dialog->Window());
  const HWND panel = Hwnd(dialog->ControlWindow("Pic_C"));
  const DialogRect file = InForm("lbl_Fname");
  POINT at{file.X + 20, file.Y + 8};
  ClientToScreen(window, &at);
  struct Search {
    HWND owner, found;
  } search{window, nullptr};
  // One movement onto the label: each further one would start the tooltip's wait again.
  PumpFor(300ms);
  SetCursorPos(at.x, at.y);
  POINT local = at;
  ScreenToClient(panel, &local);
  SendMessageW(panel, WM_MOUSEMOVE, 0, MAKELPARAM(local.x, local.y));
  ASSERT_TRUE(Pump(5s, [&] {
    EnumWindows(
        [](HWND candidate, LPARAM data) -> BOOL {
          auto* search = reinterpret_cast<Search*>(data);
          wchar_t name[32] = {};
          GetClassNameW(candidate, name, 32);
          if (std::wstring(name) == L"tooltips_class32" && IsWindowVisible(candidate) &&
              GetWindow(candidate, GW_OWNER) == search->owner) {
            search->found = candidate;
          }
          return search->found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  })) << "a tooltip shows over lbl_Fname";
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  ASSERT_TRUE(SendMessageW(search.found, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
  wchar_t text[64] = {};
  tool.lpszText = text;
  SendMessageW(search.found, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(text), L"C:\\Music\\a.mp3");
}

// A top-level window at the screen's corner to hold buttons.
class ButtonHost {
 public:
  ButtonHost() {
    window_ = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~ButtonHost() { DestroyWindow(window_); }
  HWND Window() const { return window_; }

 private:
  HWND window_;
};

std::unique_ptr<CommandWindow> MakeButton(HWND parent, double width, double height,
                                          int* clicks = nullptr) {
  auto button = std::make_unique<CommandWindow>(parent, 300, 300, width, height);
  PropertyBag design;
  design.Write("Caption", std::string("設定"), std::string("Command"));
  button->Control().LoadFromBag(design);
  button->Control().Initialize();
  if (clicks != nullptr) button->Control().ConnectClick([clicks] { ++*clicks; });
  return button;
}

TEST(CommandWin32, GdiPaintsTheSamePixelsAsTheCoreForEveryLookAndSize) {
  ButtonHost host;
  const std::pair<double, double> sizes[] = {{1215, 375}, {615, 375}, {960, 375},
                                             {2010, 600}, {450, 180}, {3000, 240}};
  for (const auto& [width, height] : sizes) {
    auto button = MakeButton(host.Window(), width, height);
    Command& control = button->Control();
    const Surface& face = control.Face();
    ASSERT_EQ(face.Width(), static_cast<int>(width / 15));
    for (int direction = 0; direction < 2; ++direction) {
      // State 1 paints white on top, state 2 lavender grey on top.
      if (direction == 1) control.OnMouseMove();
      for (int look = 0; look < kLookCount; ++look) {
        control.PaintState(static_cast<Look>(look));
        int differing = 0;
        std::string first;
        for (int y = 0; y < face.Height(); ++y) {
          for (int x = 0; x < face.Width(); ++x) {
            if (face.Pixel(x, y) != button->DrawnPixel(x, y)) {
              if (differing++ == 0) {
                char text[96];
                std::snprintf(text, sizeof text, "(%d,%d) core %06X gdi %06X", x, y,
                              face.Pixel(x, y), button->DrawnPixel(x, y));
                first = text;
              }
            }
          }
        }
        EXPECT_EQ(differing, 0) << width << "x" << height << " "
                                << LookName(static_cast<Look>(look)) << " direction " << direction
                                << " first " << first;
      }
    }
  }
}

TEST(CommandWin32, TheWindowShowsTheFaceAndTheCaption) {
  ButtonHost host;
  auto button = MakeButton(host.Window(), 1215, 375);
  UpdateWindow(button->Window());
  // The left band of Normal, and white on top of the face.
  EXPECT_TRUE(Near(ScreenPixel(button->Window(), 2, 12), {0xF4, 0xF4, 0xF0}))
      << Text(ScreenPixel(button->Window(), 2, 12));
  // Row 5 of 24 from white towards lavender grey (C6C5D7).
  EXPECT_TRUE(Near(ScreenPixel(button->Window(), 10, 5), {0xF3, 0xF2, 0xF6}))
      << Text(ScreenPixel(button->Window(), 10, 5));
  // The caption: dark pixels in the middle of the 81 x 25 face.
  int dark = 0;
  for (int y = 5; y < 20; ++y)
    for (int x = 25; x < 56; ++x)
      if (ScreenPixel(button->Window(), x, y).r < 100) ++dark;
  EXPECT_GT(dark, 15);
}

TEST(CommandWin32, MessagesDriveTheStatesAndOnlyAReleaseOnItClicks) {
  ButtonHost host;
  int clicks = 0;
  auto button = MakeButton(host.Window(), 1215, 375, &clicks);
  const HWND window = button->Window();
  const Command& control = button->Control();
  POINT centre{40, 12};
  ClientToScreen(window, &centre);
  const LPARAM at = MAKELPARAM(40, 12);

  SetCursorPos(centre.x, centre.y);
  SendMessageW(window, WM_MOUSEMOVE, 0, at);
  EXPECT_EQ(control.Fields().State, 2);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  EXPECT_EQ(GetFocus(), window);
  EXPECT_EQ(control.Fields().State, 4);
  SendMessageW(window, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(clicks, 1);

  // Keys never click.
  for (WPARAM key : {VK_RETURN, VK_SPACE}) {
    SendMessageW(window, WM_KEYDOWN, key, 0);
    SendMessageW(window, WM_CHAR, key, 0);
    SendMessageW(window, WM_KEYUP, key, 0);
  }
  EXPECT_EQ(clicks, 1);

  // The hover tick notices the pointer away.
  SetCursorPos(700, 600);
  EXPECT_TRUE(Pump(1s, [&] { return control.Fields().State == 3; }));

  // A press dragged off and released outside at once: no click.
  SetCursorPos(centre.x, centre.y);
  SendMessageW(window, WM_MOUSEMOVE, 0, at);
  EXPECT_EQ(control.Fields().State, 4);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SetCursorPos(700, 600);
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(660, 588));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(control.Fields().State, 3);

  // The right button's release over the hovered button clicks; its press does nothing.
  SetCursorPos(centre.x, centre.y);
  SendMessageW(window, WM_MOUSEMOVE, 0, at);
  SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, at);
  SendMessageW(window, WM_RBUTTONUP, 0, at);
  EXPECT_EQ(clicks, 2);

  // The focus moving to another control of the window gives Normal.
  auto other = std::make_unique<CommandWindow>(host.Window(), 3000, 300, 600, 375);
  SetFocus(other->Window());
  EXPECT_EQ(control.Fields().State, 1);
}

}  // namespace
}  // namespace orvane
