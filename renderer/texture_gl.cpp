#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/data_directory.h"
#include "renderer/renderer_gl.h"
#include "renderer/sgi_image.h"

namespace orvane::renderer {

// The picture stays in memory for the life of the process.
static TextureImage textureImage;

// Whether the implementation would take a picture of this size, asked before it is decoded.
static bool uploadAccepts(int width, int height) {
  glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               nullptr);
  GLint acceptedWidth = 0;
  glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &acceptedWidth);
  return acceptedWidth != 0;
}

// Whether the texture's alpha can be read as 1 by a swizzle, so that the picture can be
// uploaded as it is rather than converted to three components on the way.
static bool alphaSwizzles() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  int major = 0, minor = 0;
  if (version != nullptr && std::sscanf(version, "%d.%d", &major, &minor) == 2 &&
      (major > 3 || (major == 3 && minor >= 3)))
    return true;
  return extensions != nullptr && (std::strstr(extensions, "GL_ARB_texture_swizzle") != nullptr ||
                                   std::strstr(extensions, "GL_EXT_texture_swizzle") != nullptr);
}

void initTexture() {
  // A data directory that is a link or another user's is never read from; the check says why.
  if (orvane::common::CheckDataDirectory() == orvane::common::DataDirectoryState::Refused) {
    std::exit(1);
  }
  const std::string path = orvane::common::MapFixedPath("c:\\t_ovin\\Orvane.image");
  textureImage = loadTextureImage(path.c_str(), uploadAccepts);
  if (const auto exitCode = reportLoadFailure(textureImage, path.c_str())) std::exit(*exitCode);

  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  // The alpha bytes are dropped: either the texture has three components, or it keeps four
  // and reads alpha as 1, which spares the upload a conversion. Without a picture (empty, cut
  // short or of a size the implementation refuses) the tunnel is drawn untextured.
  if (textureImage.pixels) {
    const bool swizzle = alphaSwizzles();
    if (swizzle) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    glTexImage2D(GL_TEXTURE_2D, 0, swizzle ? GL_RGBA : GL_RGB, textureImage.width,
                 textureImage.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, textureImage.pixels.get());
  }
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
  glEnable(GL_TEXTURE_2D);
}

}  // namespace orvane::renderer
