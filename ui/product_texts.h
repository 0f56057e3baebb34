// The product's fixed texts that more than one window shows: titles, credits and addresses.
#pragma once

namespace ui {

// Caption of the plain message boxes and of the error box.
inline constexpr char kApplicationTitle[] = "Korvane Configuration";

// Stands on the main window, in the closing message of Quit and in the about box.
inline constexpr char kCopyrightLine[] = "(c) 2002 Ardo Vennick";

inline constexpr char kAuthorName[] = "Ardo Vennick";
inline constexpr char kMakerName[] = "Tarnwick Keep";
inline constexpr char kAuthorMailUrl[] = "mailto:ardo.vennick@tarnwickkeep.example?subject=Korvane";
// On the maker's web host, which status panel 1 of the main window shows at start-up.
inline constexpr char kHomePageUrl[] = "http://www.tarnwickkeep.example/software/index.html";

}  // namespace ui
