#pragma once
// Expansion of page templates with numbered inserts, in the manner of the system message
// formatter the page templates were written for:
//   %1 .. %99  the insert of that number; a number without an insert is copied as it stands
//   %%  a percent sign        %n  CR LF        %r  CR        %t  a tab
//   %.  a full stop           %!  "!"          %   (percent, blank) a blank
//   %0  ends the output
// Any other percent sign is copied as it stands. Line breaks of the template pass through
// unchanged, and no line is wrapped. The template ends at its first zero byte.

#include <span>
#include <string>
#include <string_view>

namespace vantor {

std::string expandTemplate(std::string_view pattern, std::span<const std::string_view> inserts);

} // namespace vantor
