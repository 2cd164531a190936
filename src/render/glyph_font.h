#pragma once

namespace netglobe {

// Builds the glyph lists: list kGlyphListBase + c draws windows-1252 byte c
// (c = 0..254) as a bitmap at the raster position and advances it by the
// glyph's width. Needs a current GL context.
void buildglyphlists();

}  // namespace netglobe
