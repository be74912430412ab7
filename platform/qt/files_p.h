// What the layer's file calls and file dialogs offer the test seam: a hook asked before every
// file call, and one that answers file dialogs instead of showing them. Both stay null in the
// program; platform/qt/testing_files.cpp sets them in the test binary.
#pragma once

#include "platform/testing.h"

#include <optional>
#include <string>

namespace platform {

// The Win32 error that the coming call of this kind fails with, or ERROR_SUCCESS to let it act.
using FileCallHook = DWORD (*)(testing::FileCall kind);
extern FileCallHook fileCallHook;

// The answer to a file dialog: the chosen path, or nothing for cancel.
using FileDialogHook = std::optional<std::wstring> (*)(const testing::ShownFileDialog& dialog);
extern FileDialogHook fileDialogHook;

} // namespace platform
