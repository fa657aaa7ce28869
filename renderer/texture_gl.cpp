#include <GL/gl.h>

#include <cstdlib>
#include <string>

#include "common/data_directory.h"
#include "renderer/renderer_gl.h"
#include "renderer/sgi_image.h"

namespace orvane::renderer {

// The picture stays in memory for the life of the process.
static TextureImage textureImage;

void initTexture() {
  // A data directory that is a link or another user's is never read from; the check says why.
  if (orvane::common::CheckDataDirectory() == orvane::common::DataDirectoryState::Refused) {
    std::exit(1);
  }
  const std::string path = orvane::common::MapFixedPath("c:\\t_ovin\\Orvane.image");
  textureImage = loadTextureImage(path.c_str());
  if (const auto exitCode = reportLoadFailure(textureImage, path.c_str())) std::exit(*exitCode);

  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  // Three components: the alpha bytes are dropped on upload. A size the implementation
  // refuses leaves the tunnel untextured.
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, textureImage.width, textureImage.height, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, textureImage.pixels.get());
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
  glEnable(GL_TEXTURE_2D);
}

}  // namespace orvane::renderer
