// Area Codes: searching the lines of area.txt by area code, state or city.
// Portable: no windows.h. The screen reads area.txt afresh for each search
// (unshared, at most kAreaFileLimit bytes), hands the bytes to
// searchAreaCodes and lists the returned lines.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "resources/quantrel/resource_ids.h"

// Horizontal scrolling extent of the result list, in pixels.
constexpr int kAreaListExtent = 1000;
// At most this many bytes of area.txt are read and searched.
constexpr std::size_t kAreaFileLimit = 28000;
// At most this many bytes of the search text are used.
constexpr std::size_t kAreaSearchTextLimit = 260;

// Search modes, in the order of the combo box.
constexpr int kAreaCodeMode = 0;
constexpr int kAreaStateMode = 1;
constexpr int kAreaCityMode = 2;
constexpr int kAreaSearchModeCount = 3;
extern const char* const
    kAreaSearchModeNames[kAreaSearchModeCount];  // "Area Code", "State", "City"

// Whether a key release with this text in this mode starts a search:
//   Area Code: 1 to 3 characters, all digits 0-9;
//   State:     1 or 2 characters of any kind;
//   City:      always, the empty text included;
//   any other mode (no selection): never.
// When it does not, the list keeps what it showed.
bool acceptsAreaSearch(int mode, const char* text);

// The lines of the file that match, in file order, without their line end.
// `fileBytes` holds what was read of area.txt; the text ends at its first
// zero byte, after `fileSize` bytes, or after kAreaFileLimit bytes, whichever
// comes first. A line is the run of bytes before a line feed; a carriage
// return just before the line feed is not part of the line, any other last
// character is. A last line that no line feed ends is not looked at.
// The search text (its first kAreaSearchTextLimit bytes) and the part of the line
// compared are upper-cased, ASCII letters only; a line matches when the text
// occurs in that part:
//   Area Code, City: the whole line;
//   State:           bytes 4 and 5 of the line (lines shorter than six bytes
//                    never match).
// The empty text matches every line it is compared with. Lines of any length
// are handled; a null buffer or text, or an unknown mode, gives no lines.
std::vector<std::string> searchAreaCodes(int mode, const char* text, const char* fileBytes,
                                         std::size_t fileSize);
