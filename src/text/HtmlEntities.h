#pragma once

#include <string>
#include <string_view>

namespace vendra {

// Text with its character references decoded: the named ones of HTML 4 (&amp;, &eacute;,
// &nbsp;, ...) and the numeric ones (&#233;, &#xE9;). A reference needs its closing ';'; an
// unknown or unfinished one stays as written. Numbers 128 to 159 are read as windows-1252 bytes,
// as browsers read them (&#147; is a left double quote); 0, surrogates and numbers past
// U+10FFFF become U+FFFD.
std::string DecodeEntities(std::string_view text);

}  // namespace vendra
