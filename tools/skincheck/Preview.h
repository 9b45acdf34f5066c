// The preview: the window's face as the menu paints it after start-up, composed by the forms layer
// itself over skincheck's pictures, with the holes of the window's outline in magenta.
#pragma once

#include <cstdint>
#include <map>

#include "SkinCheck.h"

namespace skincheck {

// `normals` holds the normal look of each button that has one, by its index in cmd.
Image ComposePreview(const Image& skin, const std::map<std::int16_t, Image>& normals);

}  // namespace skincheck
