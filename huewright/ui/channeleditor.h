// The channel the Parameters dialog edits: its working record, what Cancel
// and Restore go back to, the drag state and the clamping rules. The dialog
// and the main window's drags both change the channel through this object;
// each change applies the channel (recomputes its palette column) once and
// is announced once on the editor's notice, which every view of the model
// follows. Changes made to the model elsewhere (a file read into it, an
// undo) are announced here too.
#pragma once

#include <array>
#include <cstdint>

#include "huewright/model/curvetypes.h"
#include "huewright/model/model.h"
#include "huewright/ui/change.h"
#include "huewright/ui/controlpoints.h"
#include "huewright/ui/editsteps.h"

namespace huewright {

class ChannelEditor {
  public:
    explicit ChannelEditor(Model& model) : m_(model) {}

    // --- state ---
    Parameters ptemp{};                  // the working record
    Parameters prestore{};               // the record as the dialog opened
    std::array<uint8_t, 256> restore{};  // the channel's column as the dialog opened
    bool enabledrag1 = false;            // a press may grab the first point of the curve type
    bool enabledrag2 = false;            // the second one too (Bezier control 2 when cubic)
    bool okdrag = false;                 // a drag is in progress
    ControlPoints points;                // where the draggable points sit
    long applies = 0;                    // how many times the channel was applied

    bool editing() const { return editing_; }
    int channel() const { return m_.cndx; }
    const Model& model() const { return m_; }

    // --- the notice ---
    // The views subscribe here. Every step below announces what it changed.
    ModelNotice notice;
    // A change made to the model outside these steps, announced as it is.
    void changed(const Change& c) { notice.notify(c); }

    // --- the dialog's steps ---
    // Opening: the channel's record and column are kept for Cancel and
    // Restore, the drag flags follow its curve type's points, and the channel is
    // applied from its record, so a column loaded from a file follows its
    // curve again.
    void open(int channel);
    // A typed number for a field: stored and clamped (below 0 becomes 0,
    // above 255 becomes 255; the amplitude and the y shift together stay
    // within 255), then applied. Returns the number the field now holds.
    int setfield(Field f, int typed);
    void settype(CurveType t);
    // A choice of the curve type (its phase, degree or segments): f becomes
    // v, and the drag flags follow.
    void setchoice(Field f, int32_t v);
    // Written straight into the channel's flag: neither Cancel nor Restore
    // takes it back.
    void setstretch(bool on);
    // Flips the working record as its curve type says (curvetypes.h).
    // Returns the fields it changed.
    Fields invert();
    // OK: the working record becomes the channel's and its readout is on
    // again (its column is the synthesis of its record); editing ends.
    void commit();
    // Cancel: the channel's record and column go back to the opening's;
    // editing ends.
    void cancel();
    // Restore: as Cancel, then the opening again; editing goes on.
    void restorechannel();

    // --- drags in the curve display ---
    // A press at m: grabs a point of the curve type while the dialog allows
    // it. True when a drag starts. What was typed before it becomes a step
    // of its own.
    bool press(shell::Point m);
    // One step of a drag to m: the point moves, its fields are clamped once
    // and the channel applied once. False when no drag is in progress.
    bool dragto(shell::Point m);
    // The fields whose boxes the last drag step writes again.
    Fields dragged() const;
    // The end of a drag, which ends its step.
    void release() {
        okdrag = false;
        endstep();
    }

    // --- undo inside the dialog (editsteps.h; defined in editsteps.cpp) ---
    EditSteps steps;
    EditState editstate() const;
    // The dialog's steps start with its opening and end with OK or Cancel.
    void startsteps() { steps.start(editstate()); }
    void stopsteps() { steps.stop(); }
    // A step ends here if the channel changed since the last one.
    void endstep() {
        if (editing_) steps.mark(editstate());
    }
    // Back or forward one step: the record and the stretch flag as they
    // were then, applied; a drag in progress ends first. False when there
    // is no step to take.
    bool undo();
    bool redo();

  private:
    void setstate(const EditState& s);
    void setdragflags();
    // Recomputes the channel's column and its control points from the
    // working record.
    void synthesize();
    // The same, announced.
    void apply();
    // Cancel without the announcement.
    void revert();

    Model& m_;
    bool editing_ = false;
};

}  // namespace huewright
