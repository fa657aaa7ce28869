// Orvane.scr itself, with no display: "--help" and "--version" answer, a saver run cannot.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/child.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

TEST(HostProgram, HelpAndVersionAnswerWithoutADisplay) {
  testing::TempFolder folder;
  std::filesystem::create_directory(folder / "host");
  std::filesystem::copy_file(testing::ProgramPath("Orvane.scr"), folder / "host/Orvane.scr");
  const auto run = [&](std::vector<std::string> arguments, int code) {
    arguments.insert(arguments.begin(), folder / "host/Orvane.scr");
    testing::Child host(arguments, {"DISPLAY", "XDG_CONFIG_HOME=" + folder / "config"});
    EXPECT_EQ(host.Wait(10s), code) << arguments[1];
    return host.Stdout() + host.Stderr();
  };
  EXPECT_EQ(run({"--version"}, 0), "Orvane 1.0.0\n");
  const std::string help = run({"--help"}, 0);
  EXPECT_EQ(help.rfind("Usage: Orvane.scr ", 0), 0u) << help;
  for (const std::string& part :
       std::vector<std::string>{"\n  /s ", "\n  /p <window> ", "\n  /c ", "\n  --root ",
                                "\n  --window-id ", "\nSettings: " + folder / "host/Orvane.ini\n",
                                ": " + folder / "config/orvane/Orvane.image\n"}) {
    EXPECT_NE(help.find(part), std::string::npos) << part;
  }
  const std::string error = run({"/s"}, 1);
  EXPECT_TRUE(error.size() > 1 && error.find('\n') == error.size() - 1) << error;
  EXPECT_FALSE(std::filesystem::exists(folder / "config")) << "asking writes nothing";
}

}  // namespace
}  // namespace orvane
