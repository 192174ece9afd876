#pragma once
// Text in and out of the pasteboard, kept apart from the grid so the exact bytes can be tested alone:
// plain text for editors, an HTML table for applications that read rich content, and the reverse
// split of pasted text into rows and cells.

#include <string>
#include <string_view>
#include <vector>

namespace kivo::detail {

// The pasteboard type under which the web archive goes.
inline constexpr std::string_view WebArchivePasteboardType = "Apple Web Archive pasteboard type";

// Cell texts row by row: cells joined by tabs, rows by CR LF, nothing after the last.
std::string tabSeparatedText(const std::vector<std::vector<std::string>>& rows);
// `<table><tr><td>…</td></tr></table>` with no whitespace between tags; the writer escapes each text.
std::string htmlTable(const std::vector<std::vector<std::string>>& rows);
// The property list a browser keeps a page in, on one line, holding `html` as its main resource
// (Base64 in 64-character lines joined by CR LF).
std::string webArchive(std::string_view html);
// Rows at CR LF, LF or CR (a final line break starts no row), cells at tabs. An empty text is no row.
std::vector<std::vector<std::string>> splitPastedText(std::string_view text);

}  // namespace kivo::detail
