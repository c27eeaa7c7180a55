#include "app/MainDialogs.h"

#include "app/MainStrings.h"
#include "app/SystemText.h"

namespace vantor {

namespace {

template <std::size_t N> QStringList Filters(const char* const (&entries)[N]) {
    QStringList list;
    for (const char* entry : entries) {
        list << Ui(entry);
    }
    return list;
}

TFileDialogSetup OpenSetup(QStringList filters, const char* defaultExt) {
    TFileDialogSetup setup;
    setup.Filters = std::move(filters);
    setup.DefaultExt = Ui(defaultExt);
    setup.HideReadOnly = true;
    setup.FileMustExist = true;
    setup.EnableSizing = true;
    return setup;
}

TFileDialogSetup SaveSetup(QStringList filters, const char* defaultExt) {
    TFileDialogSetup setup;
    setup.Filters = std::move(filters);
    setup.DefaultExt = Ui(defaultExt);
    setup.OverwritePrompt = true;
    setup.HideReadOnly = true;
    setup.EnableSizing = true;
    return setup;
}

} // namespace

TFileDialogSetup OpenDlgSetup() {
    return OpenSetup(Filters(main_strings::kMqoOpenFilters), main_strings::kMqoDefaultExt);
}

TFileDialogSetup SaveDlgSetup() {
    return SaveSetup(Filters(main_strings::kMqoFilters), main_strings::kMqoDefaultExt);
}

TFileDialogSetup OpenImageDialogSetup() {
    // The dialog class's own options.
    TFileDialogSetup setup;
    setup.Filters = Filters(main_strings::kImageFilters);
    setup.DefaultExt = Ui(main_strings::kImageDefaultExt);
    return setup;
}

TFileDialogSetup SaveQLSDlgSetup() {
    return SaveSetup(Filters(main_strings::kSceneFileFilters),
                     main_strings::kSceneFileSaveDefaultExt);
}

TFileDialogSetup OpenQLSDlgSetup() {
    return OpenSetup(Filters(main_strings::kSceneFileFilters), main_strings::kSceneFileDefaultExt);
}

TFolderDialogSetup SaveFolderSetup(const QString& initialFolder) {
    TFolderDialogSetup setup;
    setup.Title = Ui(main_strings::kSaveFolderTitle);
    setup.InitialFolder = initialFolder;
    setup.NewFolder = true;
    return setup;
}

} // namespace vantor
