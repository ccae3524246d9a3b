#pragma once

#include <windows.h>

namespace kelbrin::ui {

// While it lives, the first dialog box that the thread activates is put at
// the dialog place: centred across the screen, its top at a third of the
// height it leaves free. Common dialogs offer no way to say where they open;
// a hook sees the window before it shows and leaves the dialog its modern
// look. A dialog may still settle its size after that, so it is put back in
// place whenever its size changes, until the user first moves or sizes it.
class DialogPlacement {
 public:
  DialogPlacement();
  ~DialogPlacement();
  DialogPlacement(const DialogPlacement&) = delete;
  DialogPlacement& operator=(const DialogPlacement&) = delete;

 private:
  static LRESULT CALLBACK OnCbtEvent(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK KeepInPlace(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR);
};

}  // namespace kelbrin::ui
