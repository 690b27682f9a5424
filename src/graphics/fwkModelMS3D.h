// MilkShape 3D meshes (".MS3D"): the vertex positions and triangles of the file become an
// untextured compiled model; normals, texture coordinates, groups and materials are read past,
// and whatever follows the materials is not read.
#pragma once

#include <cstdint>
#include <string>

struct model;

// The model, or none after one log line. A failure once the model exists leaves the partly
// built model on the display's list (freed with the display), as the model store expects of
// its loaders.
model* ModelOpenMS3D(int32_t displayId, const std::string& fileName);
