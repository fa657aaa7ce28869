#!/usr/bin/env bash
# Plants faults a user would notice, one at a time, in a kept copy of the tree (build-mutants/,
# built incrementally) and checks that the nearest tests catch each, else the whole Linux suite
# (the Wine tests for Windows-only code). Exits 1 if any fault survives. Usage: tests/README.md.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD work=$PWD/build-mutants src=$PWD/build-mutants/src

# file | exact text before | text after | tests that should catch it (ctest -R, or wine:REGEX)
# A texture coordinate, the run-length bound and SIGTERM name only a test that sees what the
# user would: a pixel drawn, a process ended. An MP3 started again 1 ms in sounds the same.
rows=$(cat <<'ROWS'
renderer/tunnel_gl.cpp | glTexCoord2f(0.0f, 1.0f); | glTexCoord2f(0.0f, 0.0f); | SaverRun.TheRendererAlone
renderer/tunnel_gl.cpp | gluPerspective(60.0, viewportAspect(viewport), 0.5, 100.0); | gluPerspective(90.0, viewportAspect(viewport), 0.5, 100.0); | SceneTest|SaverRun.TheRendererAlone
renderer/tunnel_gl.cpp | glFogf(GL_FOG_DENSITY, 0.08f); | glFogf(GL_FOG_DENSITY, 0.02f); | SceneTest|SaverRun.TheRendererAlone
renderer/tunnel_scene.cpp |       return {0.0f, 1.0f}; |       return {0.0f, 0.9f}; | SceneTest|SaverRun.TheRendererAlone
renderer/tunnel_scene.h | kSpeedStep = 0.0005; | kSpeedStep = 0.005; | SceneTest
renderer/tunnel_scene.cpp |   if (tunnelAngle >= kFullTurn) tunnelAngle -= kFullTurn; |   if (tunnelAngle > kFullTurn) tunnelAngle -= kFullTurn; | SceneTest
renderer/sgi_image.cpp | std::min({count, packedSize - in, room}) | std::min(count, room) | SaverRun.TheRendererAlone
renderer/sgi_image.cpp |       if (in == packedSize) break; |  | ReaderTest|RleRowTest
renderer/main.cpp | constexpr unsigned char kEscape = 27; | constexpr unsigned char kEscape = 28; | SaverRun.TheRendererAlone|SettingsDialogEndToEnd
platform/linux/ini_file.cpp |   out += std::string(key) + "=" + encoded + "\r\n"; |   out += std::string(key) + "=" + encoded + "\n"; | IniCases|SettingsForm|SettingsDialogEndToEnd
common/ascii_case.h | return c >= 'A' && c <= 'Z' ? | return c >= 'A' && c <= 'z' ? | IniCases
platform/linux/atomic_file.cpp |     if (rename(path_.c_str(), target_.c_str()) != 0) return false; |     if (rename(path_.c_str(), (target_ + "~").c_str()) != 0) return false; | IniFiles|FileSystem
platform/linux/mci/mci_command.h | MCIERR_UNRECOGNIZED_COMMAND = 261; | MCIERR_UNRECOGNIZED_COMMAND = 262; | SystemMci
platform/linux/mci/mci_command.cpp |         word += '"'; |  | SystemMci
platform/linux/mci/cd_player_cdio.cpp |     if (!tracks_.empty()) position_ = tracks_.front().start; |  | SystemMci
platform/linux/mci/cd_player_cdio.cpp | (track->number < 10 ? "0" : "") | std::string() | SystemMci
platform/linux/mci/file_player_gst.cpp | playing_ && !pipeline_.ended() && !pipeline_.failed() ? "playing" | playing_ && !pipeline_.failed() ? "playing" | SystemMci
host/music/Orvane_BGM.cpp | kMp3Alias + " from 0" | kMp3Alias + " from 1" | MusicModule|DaemonRunTest
host/music/Orvane_BGM.cpp |   multimedia->PlaySound(nullptr, 0); |   multimedia->PlaySound(nullptr, 1); | HeardOnTheSink|SaverRun|SaverWindowTest
platform/linux/cursor_x11.cpp |     if (!available_ \|\| wasShown == shown) return; |     if (!available_) return; | X11Test
platform/linux/close_watch_x11.cpp | {SIGTERM, SIGHUP, SIGINT} | {SIGHUP, SIGINT} | DaemonRun\.|SaverRun
platform/linux/fork_exec.cpp | prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 | prctl(PR_SET_PDEATHSIG, 0) != 0 | SaverRun|OwnedProgram
host/Orvane_S.h | Timer3Interval{500}; | Timer3Interval{5000}; | SaverWindowTest|SaverRun
host/renderer_watch.cpp |   if (windowSeen_) return true; |   if (windowSeen_) return false; | SaverWindowTest|SaverRun
host/Orvane_Main.cpp | refused = platform.windowFinder.FindWindow(title) != 0 || refused; | refused = refused; | MainTest|HostProgram|SaverRun
host/preview_layout.cpp | TwipsFromPixels(twipsPerPixelX, host.Width); | TwipsFromPixels(twipsPerPixelX, host.Width - 1); | PreviewLayout
host/dialog/dialog_controls.cpp | .Left = 4740, .Top = 3000, .Width = 1215 | .Left = 4740, .Top = 3030, .Width = 1215 | DialogLayout|SettingsDialogEndToEnd
host/dialog/settings_form.cpp |     if (kind == 1) view_.SetRepeatEnabled(true); |     if (kind != 1) view_.SetRepeatEnabled(true); | SettingsForm|SettingsDialogEndToEnd
host/dialog/settings_form.cpp |   Guarded([&] { write(IniKeyFile, BGM_File); }); |  | SettingsForm|SettingsDialogEndToEnd
host/controls/command_input.cpp |   if (fields_.IsEnabled == kTrue && fields_.State != CommandState::Selected) RaiseClick(); |   if (fields_.IsEnabled == kTrue) RaiseClick(); | CommandTransitions|SettingsDialogEndToEnd
host/controls/command_input.cpp | Enter(CommandState::HighLight, Look::HighLight); | Enter(CommandState::HighLight, Look::Normal); | CommandTransitions|SettingsDialogEndToEnd
common/data_directory_posix.cpp |     if (info.st_uid != geteuid()) { |     if (false) { | DataDirectoryTest|SaverRun|SaverRun.TheRendererAlone
host/daemon_run_x11.cpp | static CloseWatch closeWatch([] { run->End(); }); | static CloseWatch closeWatch([] {}); | DaemonRun\.
host/daemon_run.cpp |   Guarded([&] { parts_.musicLock.Release(); }); |  | DaemonRunTest|DaemonRun\.
platform/linux/music_lock_posix.cpp | LOCK_EX \| LOCK_NB | LOCK_SH \| LOCK_NB | FlockMusicLock|DaemonRun\.
platform/linux/saver_lock_posix.cpp |     if (flock(fd, LOCK_EX \| LOCK_NB) != 0) { |     if (false) { | FlockSaverLock|WaylandSaverRun
host/wayland_saver.cpp |   if (take == SaverLock::Take::HeldElsewhere) { |   if (false) { | WaylandSaverTest
host/saver_session.cpp |   if (title == SaverWindowTitle && lock_.HeldElsewhere()) return LockHolder; |  | WaylandSaverRun.OnSway
host/saver_session.cpp |   if (x11Setting != nullptr && std::string_view(x11Setting) == "1") return false; |  | SaverSession
host/wayland_saver_gtk.cpp |   closeWatch = std::make_unique<CloseWatch>([] { saver->Close(); }); |   closeWatch = std::make_unique<CloseWatch>([] {}); | WaylandSaverRun.OnSway
host/daemon_run.cpp |   if (!running) End(); |  | DaemonRunTest|WaylandSaverTest
host/main_gtk.cpp |     return orvane::RunWaylandSaver(commandLine); |     (void)orvane::RunWaylandSaver; | WaylandSaverRun
host/main_gtk.cpp |       finder,      x11.cursor, |       x11.windowFinder, x11.cursor, | WaylandSaverRun.OnSway
platform/linux/x11_platform_gtk.cpp | gdk_set_allowed_backends("x11"); | gdk_set_allowed_backends("wayland,x11"); | WaylandSaverRun.OnSway
host/wayland_saver_gtk.cpp | if (!box_ && gtk_init_check(nullptr, nullptr)) | if (false) | WaylandSaverRun.OnSway
platform/linux/fork_exec.cpp |     if (tie == ProgramTie::DiesWithHostOwnGroup) setpgid(0, 0); |  | WaylandSaverRun.OnSway
renderer/tools/jpeg_picture.cpp | if (level < 0) stop(common); | if (level < -1) stop(common); | PictureTest.ToolRefuses
renderer/tools/png_picture.cpp | png_read_end(png, nullptr); |  | PictureTest.ToolRefuses
renderer/tools/picture_decode.cpp | width <= limits.side && height | width <= 2 * limits.side && height | PictureTest.ToolRefuses
renderer/tools/row_scaler.cpp | (i + 0.5) * step - 0.5 | i * step | RowScalerTest
renderer/tools/png_picture.cpp | (row[4 * x + c] * a + 127) / 255 | row[4 * x + c] | PictureTest.ToolScalesEveryKind
renderer/tools/exif_orientation.cpp |           sx = y;⏎          sy = h - 1 - x; |           sx = w - 1 - y;⏎          sy = x; | PictureTest.ToolScalesEveryKind
renderer/tunnel_gl.cpp | gluPerspective(60.0, viewportAspect(viewport), 0.5, 100.0); | gluPerspective(60.0, viewportAspect({0, 0, 1920, 1080}), 0.5, 100.0); | SaverRun.TheRendererAlone
renderer/monitor_layout.cpp | result.viewports.push_back({m.x - left, bottom - (m.y + m.height), m.width, m.height}); | result.viewports.push_back({m.x - left, m.y - top, m.width, m.height}); | MonitorLayout\.|SaverRun.TheRendererAlone
renderer/monitor_window_x11.cpp | grabKeyboard(display, spanning); | (void)grabKeyboard; | SaverRun.TheRendererAlone
host/dialog/settings_form.cpp |   if (failure) { |   if (false) { | SettingsFormTest.LoadPressesAndASaveThatFails
platform/linux/profile_posix.cpp |   if (read == ReadResult::Ok && !MayWrite(target)) return false; |   if (false) return false; | SettingsFormTest.LoadPressesAndASaveThatFails|IniFiles.ReadsAndWrites|SettingsDialogEndToEnd.TheButtonsLooks
platform/linux/settings_place.cpp |   if (chosen != beside && !access.Exists(chosen) && access.Exists(beside)) return beside; |   if (false) return beside; | SettingsPlace\.|PlatformRules\.Settings
host/Orvane_B.cpp |   const std::string file = SettingsSourcePath(); |   const std::string file = SettingsPath(); | MainTest.SettingsAndPicture
platform/linux/mci/gst_pipeline_gst.cpp | ? "pulsesink" : | ? "autoaudiosink" : | SystemMci.WhatCannotPlayFailsQuietly|SaverRun.TheRendererAlone
host/main_gtk.cpp | orvane::common::SetRuntimeFolderWhenUnset("/run/user"); | // orvane::common::SetRuntimeFolderWhenUnset("/run/user"); | SaverRun.TheRendererAlone
host/main_gtk.cpp | SetRuntimeFolderWhenUnset("/run/user"); | SetRuntimeFolderWhenUnset("/run"); | SaverRun.TheRendererAlone
common/xdg_folder_posix.cpp | if (value != nullptr && value[0] != '\0') return; | if (value != nullptr) return; | RuntimeFolder\.
common/xdg_folder_posix.cpp | if (lstat(folder.c_str(), &info) != 0 | if (stat(folder.c_str(), &info) != 0 | RuntimeFolder\.
host/usage.cpp | if (text == "--version") | if (text == "-version") | HostProgram.HelpAndVersionAnswerWithoutADisplay
host/dialog/settings_form.cpp |   if (folder.empty()) folder = userFiles.MusicFolder(); |  | SettingsFormTest.TheFileDialogStartsInTheFolderAndTakesOnlyPathsThatFit
platform/win32/win32_platform_win32.cpp | return Utf8(path.substr(0, cut == 2 | return AnsiFromUtf16(path.substr(0, cut == 2 | wine:SaverRun.TheRendererAlone.*cp1252
platform/win32/win32_platform_win32.cpp |     return chosen != beside && !Exists(chosen) && Exists(beside) ? beside : chosen; |     return chosen != beside && false ? beside : chosen; | wine:DialogWineAsUserTest
renderer/monitor_window_win32.cpp | if (layout.viewports.size() < 2 || window == nullptr) return false; | if (layout.viewports.size() < 99 || window == nullptr) return false; | wine:SaverRun.TheRendererAlone
desktop/windows/Orvane.nsi | !insertmacro UnselectSection ${SecSaver} | ; !insertmacro UnselectSection ${SecSaver} | wine:InstallerWineTest.InstallsUpgradesAndUninstallsForTheUser
desktop/windows/Orvane.nsi | Section /o "un.$(SettingsSection)" | Section "un.$(SettingsSection)" | wine:InstallerWineTest.InstallsUpgradesAndUninstallsForTheUser
desktop/windows/version.rc | VALUE "FileVersion", ORVANE_VERSION_TEXT | VALUE "FileVersion", "0.0.0" | wine:InstallerWineTest.InstallsUpgradesAndUninstallsForTheUser
host/dialog/settings_form.cpp | if (const std::optional<std::string> shortPath = settingsText_.ShortPath(chosen)) { | if (const std::optional<std::string> shortPath = std::optional<std::string>()) { | SettingsFormTest|wine:SettingsDialogEndToEnd.TheButtonsLooks
host/Orvane_B.cpp | constexpr char kPathSeparator = '\\'; | constexpr char kPathSeparator = '/'; | wine:MainTestUnderWine
host/dialog/settings_dialog_win32.cpp | CBS_DROPDOWN \| CBS_AUTOHSCROLL | CBS_DROPDOWN | wine:SettingsDialogEndToEnd.TheButtonsLooks
host/dialog/dialog_paint_win32.cpp | StretchBlt(dc, x, y, size.X, size.Y, source | StretchBlt(dc, x, y, own.bmWidth, own.bmHeight, source | wine:DialogWineTest.ThePanelsTileAndMarksGrowWithTheScreensDensity
host/dialog/settings_dialog_gtk.cpp | gtk_widget_set_has_tooltip(panel_, TRUE); | gtk_widget_set_has_tooltip(panel_, FALSE); | SettingsDialogEndToEnd.TheButtonsLooks
host/controls/command_input.cpp | if (button == kLeftButton) Guarded([&] { platform_.TakeFocus(); }); | Guarded([&] { platform_.TakeFocus(); }); | CommandTransitions
host/controls/command_input.cpp |   if (!onControl && !withinWindow) return; |  | CommandTransitions
host/controls/command_input.cpp | return button == kLeftButton \|\| button == kRightButton \|\| button == kMiddleButton; | return true; | CommandTransitions
host/controls/command_paint.cpp | {60, 1, mw, 60, 60, 1, 840, 60}, | {60, 1, mw, 60, 60, 1, 780, 60}, | CommandFace\.
host/controls/command_widget_gtk.cpp | if (owner == widget && gdk_window_is_input_only(window)) self->input_ = window; |  | SettingsDialogEndToEnd.TheButtonsLooks
host/controls/face_painter_gtk.cpp | cairo_set_source_surface(cr, picture, -piece.From.X, -piece.From.Y); | cairo_set_source_surface(cr, picture, -piece.From.X, 0); | CommandFaceDrawn
host/controls/face_painter_win32.cpp | p.From.X, p.From.Y, | p.From.X, p.From.Y + 1, | wine:CommandFaceDrawnUnderWine
host/controls/face_painter_win32.cpp | GRADIENT_FILL_RECT_V); | GRADIENT_FILL_RECT_H); | wine:CommandFaceDrawnUnderWine
host/controls/command_paint.cpp | ((number & 0xFF) << 16) \| (number & 0xFF00) \| ((number >> 16) & 0xFF) | number & 0xFFFFFF | CommandFace\.
host/preview_layout.h | return FormWidth > 0 && FormHeight > 0; | return FormWidth > 0 \|\| FormHeight > 0; | PreviewLayout
common/data_directory_posix.cpp | fchmod(fd, 0700) != 0 | fchmod(fd, 0750) != 0 | DataDirectoryTest
renderer/monitor_window_x11.cpp |   set.override_redirect = managed ? False : True; |   set.override_redirect = False; | SaverRun.TheRendererAlone
common/number_text.cpp | size_t i = 0;⏎  if (i < text.size() && (text[i] == '+' \|\| text[i] == '-')) ++i; | size_t i = 0;⏎  if (i < text.size() && text[i] == '-') ++i; | NumberText|RepeatTrack
common/number_text.cpp | (text[1] == 'H' \|\| text[1] == 'h') | text[1] == 'H' | NumberText
host/dialog/settings_form.cpp |   for (Command* button : buttons_) Guarded([&] { button->Initialize(); }); |  | SettingsDialogEndToEnd
host/dialog/settings_form.cpp | if (control.Name == "Cmd_File") fileButton_ = &button; | if (control.Name == "Cmd_Set") fileButton_ = &button; | SettingsFormTest|SettingsDialogEndToEnd
platform/linux/window_geometry_x11.cpp | values.end()) >= 1000) { | values.end()) >= 1) { | X11Test
renderer/frame_clock.cpp |   deadline_ += kPeriod; |   deadline_ = now + kPeriod; | FrameClockTest
renderer/frame_clock.cpp |   if (deadline_ <= now) deadline_ += kPeriod * ((now - deadline_) / kPeriod + 1); |  | FrameClockTest
renderer/output_surface_wayland.cpp | of(data)->pendingScale_ = factor; | of(data)->pendingScale_ = 1; | WaylandSaverRun.OnSway
renderer/output_surface_wayland.cpp |     xdg_toplevel_set_fullscreen(toplevel_.get(), output_.get()); |  | WaylandSaverRun.OnWeston
renderer/wayland_shell_wayland.cpp | } else if (is(zwlr_layer_shell_v1_interface)) { | } else if (false) { | WaylandSaverRun.OnSway
renderer/wayland_shell_wayland.cpp | if (egl_ != nullptr) outputs_.back()->show(makers_, *egl_); |  | WaylandSaverRun.OnSway
renderer/wayland_shell_wayland.cpp |   std::fprintf(stderr, "Orvane.dll: %s\n", what);⏎  return 1; |   std::fprintf(stderr, "Orvane.dll: %s\n", what);⏎  return 0; | WaylandRenderer.WithoutACompositor
renderer/seat_input_wayland.cpp | == XKB_KEY_Escape) std::exit(0); | == XKB_KEY_Escape) std::exit(1); | WaylandSaverRun.OnSway
ROWS
)

# `check ROW` fails unless the row has four fields ("\|" is a pipe in a text, "⏎" a line break)
# and its text before is in its file once; `plant ROW DIR` replaces it there. `copy` brings the
# kept copy up to the tree: only files whose bytes changed are copied, with a fresh time (so that
# ninja rebuilds exactly those, a file restored after the last fault among them).
helper() {
  python3 - "$@" <<'PY'
import filecmp, os, shutil, sys
command, first, *rest = sys.argv[1:]
def files(top):
    for folder, dirs, names in os.walk(top):
        rel = os.path.relpath(folder, top)
        dirs[:] = [d for d in dirs if rel != '.' or not (d.startswith('build') or d == '.git')]
        yield from (os.path.normpath(os.path.join(rel, name)) for name in names)
if command == 'copy':
    wanted = set(files(first))
    for path in wanted:
        source, target = os.path.join(first, path), os.path.join(rest[0], path)
        if os.path.isfile(source) and not os.path.islink(source) and not (
                os.path.exists(target) and filecmp.cmp(source, target, shallow=False)):
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copy(source, target)  # the mode, not the time
    for path in set(files(rest[0])) - wanted:
        os.remove(os.path.join(rest[0], path))
    sys.exit()
parts = [p.replace('\0', '|').replace('⏎', '\n') for p in first.replace('\\|', '\0').split(' | ')]
path = os.path.join(rest[0] if rest else '.', parts[0])
text = open(path, encoding='utf-8').read() if os.path.isfile(path) else ''
if len(parts) != 4 or text.count(parts[1]) != 1:
    sys.exit(1)
if rest:
    open(path, 'w', encoding='utf-8').write(text.replace(parts[1], parts[2]))
PY
}

case ${1:-} in
  --linux) mapfile -t selected < <(grep -v '| wine:' <<<"$rows") ;;
  --* | '') mapfile -t selected <<<"$rows" ;;
  *) mapfile -t selected < <(grep -F -- "$1" <<<"$rows") ;;
esac
if [ "${1:-}" = --check ]; then
  bad=0
  for r in "${selected[@]}"; do
    helper check "$r" || { echo "not four fields, or the text before not once in its file: $r"; bad=1; }
  done
  echo "${#selected[@]} rows, $([ $bad = 0 ] && echo all found once || echo some stale)"
  exit $bad
fi

helper copy "$root" "$src" || exit 1
export CCACHE_BASEDIR="$root"  # the copy shares the cache with the tree's own build/
ccache=$(command -v ccache)
cmake -S "$src" -B "$src/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  ${ccache:+-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache} \
  >/dev/null || exit 1
build() {
  cmake --build "$src/build" -j"$(($(nproc) < 2 ? $(nproc) : 2))" >"$work/build.log" 2>&1 &&
    { [ "$1" != wine ] || "$src/scripts/windows.sh" --build >>"$work/build.log" 2>&1; }
}
# Runs the tests of a kind matching regex (all of them when it is empty); 0 when all pass.
suite() {
  (cd "$src/build" && ctest "$([ "$1" = wine ] && echo -L || echo -LE)" wine ${2:+-R "$2"} \
    --stop-on-failure --timeout 300 --no-tests=error >"$work/test.log" 2>&1)
}
# The first test that failed, by name (a parameterized one's name goes on after a space).
failed() { sed -n '/tests FAILED:/{n;s/^[^-]*- //;s/ .*//;p;q}' "$work/test.log"; }

echo "mutants: building the unchanged copy"
build linux || { echo "mutants: the unchanged copy does not build (see $work/build.log)"; exit 1; }
[ "${1:-}" = --prepare ] && exit 0
start=$SECONDS survived=0 n=0
for r in "${selected[@]}"; do
  n=$((n + 1)) rowStart=$SECONDS file=${r%% | *} regex=${r##* | } kind=linux
  if [[ "$regex" == wine:* ]]; then kind=wine regex=${regex#wine:}; fi
  cp "$src/$file" "$work/pristine"
  if ! helper plant "$r" "$src"; then
    result="STALE: the text before is not in $file once"
  elif ! build "$kind"; then
    result="DOES NOT BUILD (see $work/build.log)"
  elif ! suite "$kind" "$regex"; then
    result="caught by $regex: $(failed)"
  elif ! suite "$kind" ""; then
    result="missed by $regex, caught by the $kind suite: $(failed)"
  else
    result="SURVIVED"
  fi
  [[ "$result" == caught* || "$result" == missed* ]] || survived=$((survived + 1))
  cp "$work/pristine" "$src/$file"  # a fresh time, so that the next build compiles it again
  printf '%2d %-40s %4ds  %s\n' "$n" "$file" $((SECONDS - rowStart)) "$result"
done
build linux >/dev/null 2>&1
echo "mutants: ${#selected[@]} planted, $((${#selected[@]} - survived)) caught, $survived not," \
  "in $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s"
[ "$survived" = 0 ]
