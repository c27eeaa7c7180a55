#pragma once
// The file and folder dialogs of the main window, as the window describes them: filters,
// default extension and options. The UI services run them.

#include "app/UiServices.h"

namespace vantor {

// Opens a model: "MQOを開く(&O)".
TFileDialogSpec OpenDlgSpec();
// Saves the model as MQO: "MQOを保存(&M)".
TFileDialogSpec SaveDlgSpec();
// Picks an image for an image field (the "参照" buttons).
TFileDialogSpec OpenImageDialogSpec();
// Saves and loads the scene settings file.
TFileDialogSpec SaveQLSDlgSpec();
TFileDialogSpec OpenQLSDlgSpec();
// Picks the folder a package is published into.
TFolderDialogSpec SaveFolderSpec(const QString& initialFolder);

} // namespace vantor
