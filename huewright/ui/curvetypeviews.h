// How each curve type appears on screen: its radio and its group of controls
// in the Parameters dialog, its lines in the channel's readout and the points
// a drag moves in the curve display. The model's side of each type is in
// huewright/model/curvetypes.h; the dialog, the readout, the control points
// and the dots read this table and know no type by name.
#pragma once

#include "huewright/model/curvetypes.h"
#include "shell/raster/surface.h"
#include "shell/window/dialog.h"

namespace huewright {

// A control of a type's group in the Parameters dialog, in dialog units, its
// y counted from the top of the group box.
struct GroupControl {
    int id = -1;
    shell::Control kind = shell::Control::text;
    const char* text = "";
    int x = 0, y = 0, cx = 0, cy = 0;
    bool first = false;     // a radio that starts its run
    Field field = nullptr;  // an edit box: the number it shows; a radio: the field it chooses
    int32_t value = 0;      // a radio: the value it chooses
    When enabled{};         // while its type is chosen, enabled while this holds

    // Whether it takes input: only these are enabled and disabled, and only
    // these are in the Tab order.
    constexpr bool input() const {
        return kind == shell::Control::radio || kind == shell::Control::edit ||
               kind == shell::Control::checkbox;
    }
};

// A line of a channel's readout, in one of its two rows and two columns.
struct ReadoutLine {
    TextLine text;
    int column = 0;  // 0 left, 1 right
    int row = 0;     // 0 upper, 1 lower
};

// A point of the curve display that a drag moves. Its dot is drawn at index
// x and height y of the plot.
struct DragPoint {
    Field x = nullptr;
    Field y = nullptr;  // none: the point stays at height 128
    int trail = 0;      // a drag leaves the dot this many pixels left of the pointer
    shell::Rgb color{};
    When when{};     // the dot is shown, and can be grabbed, while this holds
    Fields moved{};  // the boxes a drag of it writes again
};
constexpr int kMaxDragPoints = 2;

// A type's radio in the dialog's Curve Type group; the type's name is its
// label.
struct TypeRadio {
    int id = 0;
    int x = 0, cx = 0;
};

// A type's group box in the dialog.
struct TypeGroup {
    int id = 0;
    const char* caption = "";
    int height = 0;
};

struct CurveTypeView {
    CurveType type;
    TypeRadio radio;
    // Its group box and what it holds.
    TypeGroup group;
    Few<GroupControl, 20> controls;
    // The channel's readout: the first line drawn clears the readout area.
    Few<ReadoutLine, 4> readout;
    // Its draggable points; a press tests them in order, so a later one wins
    // where two overlap.
    Few<DragPoint, kMaxDragPoints> points;
};

// Every type's view, indexed by its number.
extern const CurveTypeView kCurveViews[kCurveTypes];

inline const CurveTypeView& curveview(CurveType t) {
    return kCurveViews[int(t)];
}
inline const CurveTypeView& curveview(const Parameters& p) {
    return curveview(curvetype(p.ct));
}

}  // namespace huewright
