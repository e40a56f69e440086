// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pardolin {

// The one string type of the core. Each element is one Unicode character, so a fixed-width
// field of N characters is N elements, whatever the script.
using Text = std::u32string;

// Decodes UTF-8 leniently: every malformed sequence becomes one U+FFFD, so bytes from a
// device or a settings file can never produce half a character or throw.
Text FromUtf8(std::string_view bytes);
std::string ToUtf8(const Text& text);

// Decodes UTF-16 as the platform's wide-character calls return it; an unpaired surrogate
// becomes one U+FFFD.
Text FromUtf16(std::u16string_view units);
// Encodes for the platform's wide-character calls; a character outside Unicode becomes
// U+FFFD, one beyond the Basic Multilingual Plane a surrogate pair.
std::u16string ToUtf16(std::u32string_view text);

// Plain decimal: "-" for negative values, nothing before positive ones.
Text Decimal(std::int64_t value);

// Left-aligns `text` in a field of `width` characters, padding with spaces; longer text is
// kept whole.
Text PadRight(Text text, std::size_t width);

// Text from outside the program (a device name) made inert: each character that would act
// rather than show (C0 and C1 controls, bidirectional controls, line and paragraph
// separators) becomes one U+FFFD, so the text keeps its width and cannot move, reorder or
// split what is printed around it.
Text Inert(Text text);

} // namespace pardolin
