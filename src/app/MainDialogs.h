#pragma once
// The file and folder dialogs of the main window, as the window describes them: filters,
// default extension and options. The UI services run them.

#include "app/UiServices.h"

namespace vantor {

// Opens a model: "MQOを開く(&O)".
TFileDialogSetup OpenDlgSetup();
// Saves the model as MQO: "MQOを保存(&M)".
TFileDialogSetup SaveDlgSetup();
// Picks an image for an image field (the "参照" buttons).
TFileDialogSetup OpenImageDialogSetup();
// Saves and loads the scene settings file.
TFileDialogSetup SaveQLSDlgSetup();
TFileDialogSetup OpenQLSDlgSetup();
// Picks the folder a package is published into.
TFolderDialogSetup SaveFolderSetup(const QString& initialFolder);

} // namespace vantor
