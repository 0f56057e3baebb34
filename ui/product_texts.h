// The product's fixed texts that more than one window shows: titles, credits and addresses.
#pragma once

namespace ui {

// Caption of the plain message boxes and of the error box.
inline constexpr char kApplicationTitle[] = "Korvane Configuration";
// Caption of the main window (differs from the application title in one letter's case).
inline constexpr char kMainWindowCaption[] = "Korvane configuration";

// Stands on the main window, in the closing message of Quit and in the about box.
inline constexpr char kCopyrightLine[] = "(c) 2002 Ardo Vennick";

inline constexpr char kAuthorName[] = "Ardo Vennick";
inline constexpr char kMakerName[] = "Tarnwick Keep";
// The maker's web host: status panel 1 shows it at start-up, the home page lives on it.
inline constexpr char kMakerHost[] = "www.tarnwickkeep.example";
inline constexpr char kAuthorMailAddress[] = "ardo.vennick@tarnwickkeep.example";
inline constexpr char kAuthorMailUrl[] = "mailto:ardo.vennick@tarnwickkeep.example?subject=Korvane";
inline constexpr char kHomePageUrl[] = "http://www.tarnwickkeep.example/software/index.html";

}  // namespace ui
