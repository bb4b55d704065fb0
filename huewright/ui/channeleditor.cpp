#include "huewright/ui/channeleditor.h"

#include <algorithm>

namespace huewright {

void ChannelEditor::open(int channel) {
    m_.cndx = channel;
    ptemp = m_.p[channel];
    prestore = ptemp;
    for (int i = 0; i < 256; ++i) restore[i] = m_.palette[i][channel];
    editing_ = true;
    setdragflags();
    apply();
}

void ChannelEditor::synthesize() {
    ++applies;
    points.setcontrolpoints(m_.cndx, ptemp);
    m_.calcchannel(ptemp);
}

void ChannelEditor::apply() {
    synthesize();
    notice.notify(Change::column(m_.cndx));
}

void ChannelEditor::setdragflags() {
    int shown = 0;
    for (const DragPoint& p : curveview(ptemp).points) shown += p.when.holds(ptemp);
    enabledrag1 = shown >= 1;
    enabledrag2 = shown >= 2;
}

int ChannelEditor::setfield(Field f, int typed) {
    ptemp.*f = typed;
    const int v = clampfield(ptemp, f);
    apply();
    return v;
}

void ChannelEditor::settype(CurveType t) {
    ptemp.ct = curvenumber(t);
    setdragflags();
    apply();
}

void ChannelEditor::setchoice(Field f, int32_t v) {
    ptemp.*f = v;
    setdragflags();
    apply();
}

void ChannelEditor::setstretch(bool on) {
    m_.stretchflag[m_.cndx] = on ? 1 : 0;
    apply();
}

Fields ChannelEditor::invert() {
    const Fields changed = invertrecord(ptemp);
    apply();
    return changed;
}

void ChannelEditor::commit() {
    const int c = m_.cndx;
    synthesize();
    m_.p[c] = ptemp;
    m_.okdisplay[c] = 1;
    enabledrag1 = enabledrag2 = okdrag = false;
    editing_ = false;
    notice.notify(Change{1u << c, 1u << c});
}

void ChannelEditor::revert() {
    const int c = m_.cndx;
    m_.p[c] = prestore;
    for (int i = 0; i < 256; ++i) m_.palette[i][c] = restore[i];
    enabledrag1 = enabledrag2 = okdrag = false;
    editing_ = false;
}

void ChannelEditor::cancel() {
    revert();
    notice.notify(Change::column(m_.cndx));
}

void ChannelEditor::restorechannel() {
    // One announcement, of the opening again.
    const int c = m_.cndx;
    revert();
    open(c);
}

bool ChannelEditor::press(shell::Point m) {
    if (!enabledrag1) return false;
    endstep();
    okdrag = points.presscontrolpoint(m_.cndx, ptemp, m, enabledrag2);
    return okdrag;
}

bool ChannelEditor::dragto(shell::Point m) {
    if (!okdrag) return false;
    points.dragstep(m_.cndx, ptemp, m);
    for (Field f : dragged()) clampfield(ptemp, f);
    apply();
    return true;
}

Fields ChannelEditor::dragged() const {
    const CurveTypeView& v = curveview(ptemp);
    if (points.cpindex >= v.points.count) return {};
    return v.points[points.cpindex].moved;
}

}  // namespace huewright
