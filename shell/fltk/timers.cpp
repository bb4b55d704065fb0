#include "timers.h"

#include <FL/Fl.H>

namespace shell::fltk {

Timers::~Timers() {
    for (auto& [id, slot] : slots_) Fl::remove_timeout(fire, slot.get());
}

void Timers::arm(int id, int milliseconds) {
    auto& slot = slots_[id];
    if (slot)
        Fl::remove_timeout(fire, slot.get());
    else
        slot = std::make_unique<Slot>();
    *slot = Slot{this, id, milliseconds / 1000.0};
    Fl::add_timeout(slot->seconds, fire, slot.get());
}

void Timers::disarm(int id) {
    auto it = slots_.find(id);
    if (it == slots_.end()) return;
    Fl::remove_timeout(fire, it->second.get());
    slots_.erase(it);
}

void Timers::fire(void* data) {
    auto* slot = static_cast<Slot*>(data);
    // Rescheduled from the time this one was due, not from now, so that the
    // period holds on average however late the loop came round.
    Fl::repeat_timeout(slot->seconds, fire, slot);
    slot->owner->due_(slot->id);
}

}  // namespace shell::fltk
