// Start-up: Main shows frmMain, whose load handler does the rest.
#include "Module1.h"

namespace menu::Module1 {

void Main(rt::Platform& platform, std::unique_ptr<frmMain>& instance,
          const MenuSettings& settings) {
  if (!instance) instance = std::make_unique<frmMain>(platform, settings);
  instance->Show();
}

}  // namespace menu::Module1
