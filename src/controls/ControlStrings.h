#pragma once
// Texts the controls themselves show (UTF-8): the colour panel's hints and the folder
// dialog's caption and buttons. The windows' own texts live with the windows.

namespace vantor::control_strings {

// Hints of the colour panel's three number edits and of its value bar.
inline constexpr char kHue[] = "色相";
inline constexpr char kSaturation[] = "彩度";
inline constexpr char kBrightness[] = "明度";
inline constexpr char kRed[] = "赤";
inline constexpr char kGreen[] = "緑";
inline constexpr char kBlue[] = "青";

// The folder dialog: its caption and the two buttons of the system's folder browser.
inline constexpr char kBrowseForFolder[] = "フォルダーの参照";
inline constexpr char kFolderOk[] = "OK";
inline constexpr char kFolderCancel[] = "キャンセル";

} // namespace vantor::control_strings
