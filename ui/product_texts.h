// The product's credits, which both the main window and the about box show.
#pragma once

namespace ui {

// Stands on the main window, in the closing message of Quit and in the about box.
inline constexpr char kCopyrightLine[] = "(c) 2002 Ardo Vennick";
// The author link: its caption, and the mail it starts.
inline constexpr char kAuthorName[] = "Ardo Vennick";
inline constexpr char kAuthorMailUrl[] = "mailto:ardo.vennick@tarnwickkeep.example?subject=Korvane";

}  // namespace ui
