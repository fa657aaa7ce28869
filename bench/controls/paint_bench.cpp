// How long one paint of the Command button takes at the dialog's sizes and a large one: the core
// working out the face, and cairo drawing it (background, gradient, eight frame pieces) into an
// image; and one hover tick that changes nothing.
#include <cairo.h>

#include <chrono>
#include <cstdio>

#include "host/controls/Command.h"
#include "host/controls/face_painter_gtk.h"

namespace {

struct QuietPlatform : orvane::CommandPlatform {
  void Show() override {}
  void StartHoverTimer(std::chrono::milliseconds) override {}
  std::optional<orvane::WindowId> WindowUnderPointer() override { return 7; }
  std::optional<orvane::WindowId> ControlWindow() override { return 8; }
};

template <typename Work>
double MicrosecondsEach(int rounds, Work work) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) work(i);
  const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / rounds;
}

}  // namespace

int main() {
  QuietPlatform platform;
  struct Size {
    const char* name;
    double w, h;
  };
  const orvane::Look looks[] = {orvane::Look::Normal, orvane::Look::HighLight,
                                orvane::Look::Pressed};
  for (const Size size :
       {Size{"Cmd_File 615 x 375", 615, 375}, Size{"Cmd_Set 1215 x 375", 1215, 375},
        Size{"large 6000 x 1500", 6000, 1500}}) {
    orvane::Command control(platform);
    control.LoadFromBag(orvane::PropertyBag{});
    control.Resize(size.w, size.h);
    control.Initialize();
    const double paint = MicrosecondsEach(20000, [&](int i) { control.PaintState(looks[i % 3]); });
    std::printf("PaintState, %-20s %8.2f us\n", size.name, paint);
    control.SetCaption("");  // the face alone, without the caption's text
    const orvane::CommandFace face = control.Face();
    cairo_surface_t* image =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, face.Width, face.Height);
    cairo_t* cr = cairo_create(image);
    const double drawn = MicrosecondsEach(2000, [&](int) { orvane::DrawFace(cr, face, {}); });
    cairo_destroy(cr);
    cairo_surface_destroy(image);
    std::printf("DrawFace (cairo), %-14s %8.2f us\n", size.name, drawn);
  }
  orvane::Command control(platform);
  control.LoadFromBag(orvane::PropertyBag{});
  control.Resize(1215, 375);
  control.Initialize();
  const double tick = MicrosecondsEach(1000000, [&](int) { control.OnHoverTick(); });
  std::printf("OnHoverTick, pointer away, no paint %8.3f us\n", tick);
  return 0;
}
