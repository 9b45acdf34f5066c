// Window regions over GDI: made in one go from their rectangles, owned until the window takes them.
#pragma once

#include <windows.h>

#include <vector>

#include "Geometry.h"
#include "Handles.h"
#include "Picture.h"

namespace rt::win32 {

class Win32Region : public RegionData {
 public:
  explicit Win32Region(HRGN region) : region_(region) {}
  unique_hrgn& Handle() { return region_; }

 private:
  unique_hrgn region_;
};

// A region of the given rectangles, which must not overlap; empty where the system cannot make it.
Region CreateRegion(const std::vector<PixelRect>& rects);

}  // namespace rt::win32
