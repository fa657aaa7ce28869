#pragma once

// The settings dialog "<Orvane>" as a GTK 3 window. All behaviour lives in SettingsForm
// (settings_form.h); this shell builds the window to the design's layout, paints its
// backgrounds, marks and labels, and forwards clicks.

#include <gtk/gtk.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/controls/command_widget_gtk.h"
#include "host/dialog/settings_form.h"

namespace orvane {

class SettingsDialogWindow final : SettingsFormView {
 public:
  // Builds the window (realized, not shown) on GTK's default display.
  explicit SettingsDialogWindow(Platform& platform);
  ~SettingsDialogWindow() override;
  SettingsDialogWindow(const SettingsDialogWindow&) = delete;
  SettingsDialogWindow& operator=(const SettingsDialogWindow&) = delete;

  // Runs the load steps, then shows the dialog.
  void Show();
  // Handles events until the dialog has closed.
  void RunModal();

  GtkWindow* Window() const { return GTK_WINDOW(window_); }
  SettingsForm& Form() { return form_; }
  bool Closed() const { return closed_; }
  // The widget of a control with a window of its own: "Pic_C", "BGM_Repeat", "Cmd_File",
  // "Cmd_Set" or "Cmd_Can"; nullptr for any other name.
  GtkWidget* ControlWidget(std::string_view name) const;

 private:
  // SettingsFormView
  WindowHandle Handle() override;
  DialogPoint Size() override;
  void Move(DialogPoint topLeft) override;
  std::vector<Command*> CommandButtons() override;
  Command& FileButton() override { return fileButton_.Control(); }
  void PaintBackground(const std::vector<RowColour>& rows) override;
  void TilePanel(const std::vector<DialogPoint>& positions) override;
  void SetChoiceMark(int index, ChoiceMark mark) override;
  void SetRepeatEnabled(bool enabled) override;
  void SetRepeatText(const std::string& text) override;
  std::string RepeatText() override;
  void AddRepeatEntry(const std::string& text) override;
  void SetFileCaption(const std::string& text) override;
  std::optional<std::string> OpenFile(const OpenFileRequest& request) override;
  bool OpenAddress(const std::string& address) override;
  void SetBusyPointer(bool busy) override;
  void Close() override;

  static gboolean DrawForm(GtkWidget* widget, cairo_t* cr, gpointer self);
  static gboolean DrawPanel(GtkWidget* widget, cairo_t* cr, gpointer self);
  static void FormAllocated(GtkWidget* widget, GdkRectangle* allocation, gpointer self);
  static gboolean ButtonPressed(GtkWidget* widget, GdkEventButton* event, gpointer self);
  static gboolean ButtonReleased(GtkWidget* widget, GdkEventButton* event, gpointer self);
  static gboolean PointerMoved(GtkWidget* widget, GdkEventMotion* event, gpointer self);
  static gboolean FileTooltip(GtkWidget* widget, gint x, gint y, gboolean keyboard,
                              GtkTooltip* tooltip, gpointer self);
  static gboolean DeleteRequested(GtkWidget* widget, GdkEvent* event, gpointer self);

  void PlaceCommand(CommandWidget& button, GtkWidget* container, std::string_view name,
                    const char* caption);
  void UpdatePointer();
  bool OnFormWindow(GdkWindow* window) const;

  Platform& platform_;
  TwipsScale scale_;
  GtkWidget* window_ = nullptr;
  GtkWidget* formArea_ = nullptr;
  GtkWidget* panel_ = nullptr;
  GtkWidget* repeat_ = nullptr;
  CommandWidget fileButton_;
  CommandWidget setButton_;
  CommandWidget cancelButton_;
  SettingsForm form_;

  std::vector<RowColour> rows_;
  std::vector<DialogPoint> tiles_;
  std::array<ChoiceMark, 3> marks_{};
  std::string fileCaption_;                  // the whole path, made valid UTF-8
  std::optional<std::string> shownCaption_;  // as much of it as lbl_Fname shows
  cairo_surface_t* tileImage_ = nullptr;
  std::array<cairo_surface_t*, 2> markImages_{};
  GdkCursor* linkPointer_ = nullptr;
  GdkCursor* busyPointer_ = nullptr;
  bool overLink_ = false;
  bool busy_ = false;
  int formHeight_ = -1;
  bool closed_ = false;
  GMainLoop* loop_ = nullptr;
};

}  // namespace orvane
