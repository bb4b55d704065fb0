// The parts of a dialog's behaviour that do not depend on the toolkit: which
// radio buttons form one exclusive run, how a key moves a trackbar, the Tab
// order, and how much text an edit box keeps. Both hosts call these, so the
// desktop and the tests behave alike.
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

// What an edit box keeps of `s`: at most `limit` characters (whole UTF-8
// characters), everything when limit is 0.
std::string limittext(const std::string& s, int limit);

}  // namespace shell
