#include "huewright/ui/channeleditor.h"

#include <algorithm>

namespace huewright {

namespace {

constexpr int kMaxValue = 255;

}  // namespace

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
    enabledrag1 = ptemp.ct == 0 || ptemp.ct == 2;
    enabledrag2 = ptemp.ct == 2 && ptemp.bd == 1;
}

int ChannelEditor::clamp(Field f) {
    int32_t& v = ptemp.*f;
    if (v < 0) v = 0;
    if (f != &Parameters::ysh && v > kMaxValue) v = kMaxValue;
    if (f == &Parameters::amp && v > kMaxValue - ptemp.ysh) v = kMaxValue - ptemp.ysh;
    if (f == &Parameters::ysh && v > kMaxValue - ptemp.amp) v = kMaxValue - ptemp.amp;
    return v;
}

int ChannelEditor::setfield(Field f, int typed) {
    ptemp.*f = typed;
    const int v = clamp(f);
    apply();
    return v;
}

void ChannelEditor::settype(int ct) {
    ptemp.ct = ct;
    setdragflags();
    apply();
}

void ChannelEditor::setphase(int sp) {
    ptemp.sp = sp;
    apply();
}

void ChannelEditor::setdegree(int bd) {
    ptemp.bd = bd;
    setdragflags();
    apply();
}

void ChannelEditor::setsegments(int Ln) {
    ptemp.Ln = Ln;
    apply();
}

void ChannelEditor::setstretch(bool on) {
    m_.stretchflag[m_.cndx] = on ? 1 : 0;
    apply();
}

Fields ChannelEditor::invert() {
    Parameters& t = ptemp;
    Fields changed{};
    switch (t.ct) {
        case 0:
            t.xsh = (t.xsh + 128) % 256;
            changed = {&Parameters::xsh};
            break;
        case 1:
            t.aan = kMaxValue - t.aan;
            t.avt = kMaxValue - t.avt;
            changed = {&Parameters::aan, &Parameters::avt};
            break;
        case 2:
            // The x coordinates of the controls stay; the heights flip.
            t.b0 = kMaxValue - t.b0;
            t.b255 = kMaxValue - t.b255;
            t.bc1y = kMaxValue - t.bc1y;
            t.bc2y = kMaxValue - t.bc2y;
            changed = {&Parameters::b0, &Parameters::b255, &Parameters::bc1y, &Parameters::bc2y};
            break;
        default:
            t.L0 = kMaxValue - t.L0;
            t.L255 = kMaxValue - t.L255;
            t.Lmy = kMaxValue - t.Lmy;
            changed = {&Parameters::L0, &Parameters::L255, &Parameters::Lmy};
            break;
    }
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
    for (Field f : dragged()) clamp(f);
    apply();
    return true;
}

Fields ChannelEditor::dragged() const {
    if (ptemp.ct == 0) return {&Parameters::xsh};
    if (points.cpindex == 0) return {&Parameters::bc1x, &Parameters::bc1y};
    return {&Parameters::bc1x, &Parameters::bc1y, &Parameters::bc2x, &Parameters::bc2y};
}

}  // namespace huewright
