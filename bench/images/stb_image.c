// stb_image from Debian's libstb-dev, compiled here with the image readers' own optimisation, as
// the baseline they are measured against.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_GIF
#include <stb_image.h>
