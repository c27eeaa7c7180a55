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

TFileDialogSpec OpenSpec(QStringList filters, const char* defaultExt) {
    TFileDialogSpec spec;
    spec.Filters = std::move(filters);
    spec.DefaultExt = Ui(defaultExt);
    spec.HideReadOnly = true;
    spec.FileMustExist = true;
    spec.EnableSizing = true;
    return spec;
}

TFileDialogSpec SaveSpec(QStringList filters, const char* defaultExt) {
    TFileDialogSpec spec;
    spec.Filters = std::move(filters);
    spec.DefaultExt = Ui(defaultExt);
    spec.OverwritePrompt = true;
    spec.HideReadOnly = true;
    spec.EnableSizing = true;
    return spec;
}

} // namespace

TFileDialogSpec OpenDlgSpec() {
    return OpenSpec(Filters(main_strings::kMqoFilters), main_strings::kMqoDefaultExt);
}

TFileDialogSpec SaveDlgSpec() {
    return SaveSpec(Filters(main_strings::kMqoFilters), main_strings::kMqoDefaultExt);
}

TFileDialogSpec OpenImageDialogSpec() {
    // The dialog class's own options.
    TFileDialogSpec spec;
    spec.Filters = Filters(main_strings::kImageFilters);
    spec.DefaultExt = Ui(main_strings::kImageDefaultExt);
    return spec;
}

TFileDialogSpec SaveQLSDlgSpec() {
    return SaveSpec(Filters(main_strings::kSceneFileFilters), main_strings::kSceneFileDefaultExt);
}

TFileDialogSpec OpenQLSDlgSpec() {
    return OpenSpec(Filters(main_strings::kSceneFileFilters), main_strings::kSceneFileDefaultExt);
}

TFolderDialogSpec SaveFolderSpec(const QString& initialFolder) {
    TFolderDialogSpec spec;
    spec.Title = Ui(main_strings::kSaveFolderTitle);
    spec.InitialFolder = initialFolder;
    spec.NewFolder = true;
    return spec;
}

} // namespace vantor
