// ChannelEditor's undo steps inside the Parameters dialog (channeleditor.h).
#include "huewright/ui/channeleditor.h"

namespace huewright {

EditState ChannelEditor::editstate() const {
    return EditState{ptemp, m_.stretchflag[m_.cndx]};
}

void ChannelEditor::setstate(const EditState& s) {
    ptemp = s.ptemp;
    m_.stretchflag[m_.cndx] = s.stretch;
    setdragflags();
    apply();
    steps.last = s;
}

bool ChannelEditor::undo() {
    if (!editing_) return false;
    // A drag in progress, or a box typed in and not yet left, is a step of
    // its own: that is what goes back first.
    okdrag = false;
    endstep();
    const EditState* s = steps.history.undo();
    if (!s) return false;
    setstate(*s);
    return true;
}

bool ChannelEditor::redo() {
    if (!editing_) return false;
    okdrag = false;
    // A change since the last step drops the steps that could be redone.
    endstep();
    const EditState* s = steps.history.redo();
    if (!s) return false;
    setstate(*s);
    return true;
}

}  // namespace huewright
