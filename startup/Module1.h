// The start-up module: Main, which brings up the menu's window, and the builder of its outline.
#pragma once

#include <memory>
#include <string>

#include "runtime/Picture.h"
#include "runtime/Platform.h"

namespace menu {

class frmMain;

namespace Module1 {

// The size of the skin in pixels as measured by the last outline build.
extern int SkinWidth;
extern int SkinHeight;

// Creates frmMain if it does not exist yet and shows it, which loads it.
void Main(rt::Platform& platform, std::unique_ptr<frmMain>& instance);

// Makes the window as large as the skin at `path`, switches it to pixels and returns its outline.
rt::Region BuildSkinRegion(frmMain& form, const std::wstring& path);

}  // namespace Module1

}  // namespace menu
