#include "common/user_config.h"
#include "common/xdg_folder.h"

namespace orvane::common {

std::string UserConfigFolder() {
  return XdgFolder("XDG_CONFIG_HOME", "/.config") + "/orvane";
}

std::string UserPicturePath() {
  return UserConfigFolder() + "/Orvane.image";
}

}  // namespace orvane::common
