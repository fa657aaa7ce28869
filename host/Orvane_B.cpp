#include "host/Orvane_B.h"

namespace orvane {

std::int16_t BGM_Kind = 0;
std::int16_t BGM_RepeatTrack = 0;
std::string BGM_File;
std::string BGM_Folder;

}  // namespace orvane
