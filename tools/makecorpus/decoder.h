// The reference decoder under the name it had beside the corpus, for the recording platform that
// still includes it so; everything else includes ReferenceDecoder.h from the bitmap toolkit.
#pragma once

#include "ReferenceDecoder.h"

namespace corpus {

using bmpio::Decoded;
using bmpio::DecodeTrusting;
using bmpio::Rgb;

}  // namespace corpus
