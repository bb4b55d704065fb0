// The curve types a channel can follow, and what the model knows of each: the
// fields of the record it reads, how its palette column is computed, how the
// description puts it in words and how Invert flips it.
//
// The record keeps the type as the number in Parameters::ct, because saved
// descriptions and the record's layout depend on it; curvetype() turns that
// number into a CurveType, the one place where a number outside the known
// types is given a meaning. How each type looks in the window and the
// Parameters dialog is in huewright/ui/curvetypeviews.h.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "huewright/model/parameters.h"

namespace huewright {

struct Model;

// The values are the record's numbers, in the order the dialog lists them.
enum class CurveType : int32_t { sine, arc, bezier, line };
constexpr int kCurveTypes = 4;

// The type a record's number selects. A number outside 0 ... 3 reads as a
// line: synthesis has always drawn such a record as one, so the description
// and the dialog read it the same way.
constexpr CurveType curvetype(int32_t ct) {
    return ct >= 0 && ct < kCurveTypes ? CurveType(ct) : CurveType::line;
}
constexpr int32_t curvenumber(CurveType t) {
    return int32_t(t);
}

// Whether a table of the types lists each one at its number, as the
// tables indexed by type must.
template <class Entry>
constexpr bool bytype(const Entry (&table)[kCurveTypes]) {
    for (int i = 0; i < kCurveTypes; ++i)
        if (curvenumber(table[i].type) != i) return false;
    return true;
}

// One number field of a record.
using Field = int32_t Parameters::*;

// Stops a program that gives a Few more entries than it holds. It is not a
// constant function, so a constant table that does so does not compile.
[[noreturn]] inline void toomanyentries() {
    std::abort();
}

// A short list with a fixed capacity, for the tables below: they are
// constant data, so they cannot hold vectors.
template <class T, int N>
struct Few {
    T items[N] = {};
    int count = 0;
    constexpr Few() = default;
    constexpr Few(std::initializer_list<T> xs) {
        for (const T& x : xs) {
            if (count == N) toomanyentries();
            items[count++] = x;
        }
    }
    constexpr const T* begin() const { return items; }
    constexpr const T* end() const { return items + count; }
    constexpr const T& operator[](int i) const { return items[i]; }
};

// A few fields: those a step changed.
using Fields = Few<Field, 4>;

// A condition on a record: `field` holds `value`. Without a field it always
// holds.
struct When {
    Field field = nullptr;
    int32_t value = 0;
    constexpr bool holds(const Parameters& p) const {
        return field == nullptr || p.*field == value;
    }
};

// A number the user types or drags, and the range it is clamped to. With a
// partner, the two together stay within `high`.
struct NumberField {
    Field field = nullptr;
    int32_t low = 0, high = 255;
    Field partner = nullptr;
};

// A field chosen among `count` consecutive values from `first` with radio
// buttons (the sine phase, the Bezier degree, the number of line segments).
struct Choice {
    Field field = nullptr;
    int32_t first = 0;
    int count = 0;
};

// A line of text about a record: a printf format with up to two numbers,
// written while `when` holds.
struct TextLine {
    const char* format = "";
    Field a = nullptr, b = nullptr;
    When when{};
    // The line for record p into out.
    void print(char* out, int size, const Parameters& p) const;
};

// How Invert flips the fields it names: v becomes 255 - v, or the curve moves
// by half its period, (v + 128) mod 256.
enum class Flip { mirror, halfperiod };

struct CurveDesc {
    CurveType type;
    // The type's name: the description's heading and the dialog's radio.
    const char* name;
    // Computes column m.cndx of the palette from ps.
    void (*column)(Model& m, const Parameters& ps);
    // The numbers it reads from the record, and its choice, if any.
    Few<NumberField, 6> numbers;
    Choice choice;
    // Whether it reads the channel's stretch flag (Bezier heights).
    bool stretchable;
    // Its lines in the description, after its name; a stretchable type whose
    // flag is set adds "stretched".
    Few<TextLine, 5> description;
    // What Invert changes, and how.
    Fields inverted;
    Flip flip;
};

// Every type, indexed by its number.
extern const CurveDesc kCurveTable[kCurveTypes];

inline const CurveDesc& curvedesc(CurveType t) {
    return kCurveTable[int(t)];
}
inline const CurveDesc& curvedesc(const Parameters& p) {
    return curvedesc(curvetype(p.ct));
}

// The range of a number field, looked up in the types' fields; a field no
// type names gets 0 ... 255.
NumberField numberfield(Field f);

// Clamps field f of p to its range and returns the value it now holds.
int32_t clampfield(Parameters& p, Field f);

// Flips p as Invert does for its curve type; returns the fields it changed.
Fields invertrecord(Parameters& p);

// Appends the description of p's curve to s: its name on a line of its own,
// then its lines.
void describecurve(std::string& s, const Parameters& p, bool stretched);

}  // namespace huewright
