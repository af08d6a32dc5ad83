// File and Edit commands of the palette window.
#include "window/PaletteWindow.h"

void PaletteWindow::OnFileOpen() {}
void PaletteWindow::OnFileSaveAs() {}
void PaletteWindow::OnEditCopy() {}
void PaletteWindow::OnEditClear() {}
