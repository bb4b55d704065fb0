// Where the desktop's file chooser places its parts, in pixels from the top
// left of its client area, at scale 1; on a screen of scale N every size is
// N times as large. The chooser is built from these, and tests that drive it
// with a real pointer find its rows and buttons here.
#pragma once

namespace shell::chooser {

constexpr int kWidth = 560, kHeight = 356;
constexpr int kMargin = 10;
constexpr int kLabelWidth = 88;
constexpr int kFieldHeight = 24;
// "Look in": the folder and its parents, and the button to the parent.
constexpr int kFolderY = 8;
constexpr int kUpWidth = 70;
// The list of folders (first, ending in "/") and files.
constexpr int kListY = 40, kListHeight = 244;
constexpr int kListBorder = 2;
constexpr int kRowHeight = 18;
constexpr int kTextSize = 13;
// "File name", "Files of type", and the two buttons at their right.
constexpr int kNameY = 292, kTypeY = 324;
constexpr int kButtonWidth = 80;

// The centre of row `i` of the list (0 is the top row when the list is not
// scrolled).
constexpr int rowx() {
    return kMargin + 60;
}
constexpr int rowy(int i) {
    return kListY + kListBorder + i * kRowHeight + kRowHeight / 2;
}
constexpr int okx() {
    return kWidth - kMargin - kButtonWidth / 2;
}
constexpr int oky() {
    return kNameY + kFieldHeight / 2;
}
constexpr int cancely() {
    return kTypeY + kFieldHeight / 2;
}

}  // namespace shell::chooser
