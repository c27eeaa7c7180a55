#pragma once
// Texts the browser pane shows (UTF-8).

namespace browser_strings {

inline constexpr char kNoPreview[] = "プレビューはまだありません";
inline constexpr char kPreviewWrittenTo[] = "プレビューを書き出しました:";
inline constexpr char kOpenInBrowser[] = "ブラウザで開く";

} // namespace browser_strings
