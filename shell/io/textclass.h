// What kind of character a Unicode code point is, the same whatever locale
// the process runs in.
#pragma once

namespace shell {

// A letter or a digit of any script, as the system's Unicode tables say.
// ASCII letters and digits count everywhere, even where the system offers
// no such table.
bool isletterordigit(char32_t cp);

}  // namespace shell
