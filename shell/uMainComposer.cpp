// The main window's side of the wallpaper composer.
#include "uMain.h"

namespace quenda {

void TMainFrm::CreateComposerState() {}

void TMainFrm::imgAppToDeskClick() {}

void TMainFrm::imgAddToDeskClick() {}

} // namespace quenda
