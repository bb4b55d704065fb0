// The parts of a dialog's behaviour that do not depend on the toolkit: which
// radio buttons form one exclusive run, how a key moves a trackbar, the Tab
// order, the arrow keys in a radio group, which button Enter and Esc press,
// and how much text an edit box keeps. Both hosts call these, so the desktop
// and the tests behave alike.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialog.h"

namespace shell {

// The ids of the radio buttons that are exclusive with `id`: the run of
// adjacent radios it stands in, from the one that starts the group. Empty
// when `id` is not a radio button.
std::vector<int> radiorun(const DialogTemplate& t, int id);

// A key pressed on a trackbar: its new position and the notification code.
// Line keys step by one, page keys by a fifth of the range (at least one);
// Home and End go to the ends. Nothing for other keys.
struct TrackStep {
    int pos;
    int code;  // TrackCode
};
std::optional<TrackStep> trackkey(int vk, int pos, int lo, int hi);

// The control that takes the focus after `from` with Tab (or before it with
// Shift+Tab), wrapping round; `from` 0 finds the first. A control takes the
// focus when it is a tab stop, is enabled, and is not a label, frame or
// picture; of a run of radio buttons only the checked one does (the first
// when none is checked). Returns 0 when no control can take the focus.
int nexttabstop(const DialogTemplate& t, int from, bool backwards,
                const std::function<bool(int id)>& enabled,
                const std::function<bool(int id)>& checked);

// An arrow key pressed on radio button `from`: the button of its run it
// moves to (Right and Down the next, Left and Up the one before, wrapping
// round, passing over disabled ones), which the host focuses, checks and
// reports as a click. 0 when `from` is no radio button, the key no arrow, or
// no other button of the run is enabled.
int radioarrow(const DialogTemplate& t, int from, int vk,
               const std::function<bool(int id)>& enabled);

// The control Enter presses: the focused control when it is an enabled push
// button, otherwise the default button, control 1. 0 when that one is
// disabled, so that nothing is pressed. A dialog without a control 1 still
// hears command 1, as it hears command 2 from Esc.
int enterbutton(const DialogTemplate& t, int focused, const std::function<bool(int id)>& enabled);

// The control Esc presses: control 2, also where the dialog has none (its
// procedure decides what the command means), but not while it is disabled.
// 0 when nothing is pressed. `enabled` is true for a control the dialog
// does not have, as it is for enterbutton.
int escapebutton(const std::function<bool(int id)>& enabled);

// What an edit box keeps of `s`: at most `limit` characters (whole UTF-8
// characters), everything when limit is 0.
std::string limittext(const std::string& s, int limit);

}  // namespace shell
