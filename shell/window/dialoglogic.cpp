#include "dialoglogic.h"

#include <algorithm>

#include "message.h"

namespace shell {

namespace {

bool focusable(Control k) {
    return k == Control::edit || k == Control::radio || k == Control::checkbox ||
           k == Control::button || k == Control::trackbar;
}

}  // namespace

std::vector<int> radiorun(const DialogTemplate& t, int id) {
    const auto& cs = t.controls;
    size_t i = 0;
    while (i < cs.size() && cs[i].id != id) ++i;
    if (i == cs.size() || cs[i].kind != Control::radio) return {};
    size_t first = i;
    while (first > 0 && !cs[first].group && cs[first - 1].kind == Control::radio) --first;
    std::vector<int> run;
    for (size_t j = first; j < cs.size() && cs[j].kind == Control::radio; ++j) {
        if (j > first && cs[j].group) break;
        run.push_back(cs[j].id);
    }
    return run;
}

std::optional<TrackStep> trackkey(int vk, int pos, int lo, int hi) {
    const int page = std::max(1, (hi - lo) / 5);
    switch (vk) {
        case vk_left:
        case vk_up:
            return TrackStep{std::max(lo, pos - 1), tb_lineup};
        case vk_right:
        case vk_down:
            return TrackStep{std::min(hi, pos + 1), tb_linedown};
        case vk_prior:
            return TrackStep{std::max(lo, pos - page), tb_pageup};
        case vk_next:
            return TrackStep{std::min(hi, pos + page), tb_pagedown};
        case vk_home:
            return TrackStep{lo, tb_top};
        case vk_end:
            return TrackStep{hi, tb_bottom};
        default:
            return std::nullopt;
    }
}

int nexttabstop(const DialogTemplate& t, int from, bool backwards,
                const std::function<bool(int id)>& enabled,
                const std::function<bool(int id)>& checked) {
    const auto& cs = t.controls;
    const int n = int(cs.size());
    // The stop of each control: radios stand for their run, whose stop is its
    // checked member.
    auto stop = [&](int k) -> bool {
        const ControlTemplate& c = cs[k];
        if (!c.tabstop || !focusable(c.kind) || c.id < 0 || !enabled(c.id)) return false;
        if (c.kind != Control::radio) return true;
        std::vector<int> run = radiorun(t, c.id);
        int chosen = 0;
        for (int id : run)
            if (checked(id) && enabled(id)) chosen = id;
        if (chosen == 0)
            for (int id : run)
                if (enabled(id) && chosen == 0) chosen = id;
        return chosen == c.id;
    };
    int at = -1;
    for (int k = 0; k < n; ++k)
        if (cs[k].id == from && from != 0) at = k;
    // From a radio button, Tab leaves its whole group, whichever of the
    // group has the focus.
    const std::vector<int> own = from != 0 ? radiorun(t, from) : std::vector<int>{};
    for (int step = 1; step <= n; ++step) {
        int k = at < 0 ? (backwards ? n - step : step - 1)
                       : ((at + (backwards ? -step : step)) % n + n) % n;
        if (std::find(own.begin(), own.end(), cs[k].id) != own.end()) continue;
        if (stop(k)) return cs[k].id;
    }
    return 0;
}

int radioarrow(const DialogTemplate& t, int from, int vk,
               const std::function<bool(int id)>& enabled) {
    int step = 0;
    if (vk == vk_right || vk == vk_down) step = 1;
    if (vk == vk_left || vk == vk_up) step = -1;
    const std::vector<int> run = radiorun(t, from);
    if (step == 0 || run.empty()) return 0;
    const int n = int(run.size());
    const int at = int(std::find(run.begin(), run.end(), from) - run.begin());
    for (int k = 1; k < n; ++k) {
        const int id = run[((at + step * k) % n + n) % n];
        if (enabled(id)) return id;
    }
    return 0;
}

int enterbutton(const DialogTemplate& t, int focused, const std::function<bool(int id)>& enabled) {
    const ControlTemplate* c = focused != 0 ? t.find(focused) : nullptr;
    if (c && c->kind == Control::button && enabled(focused)) return focused;
    return enabled(1) ? 1 : 0;
}

int escapebutton(const std::function<bool(int id)>& enabled) {
    return enabled(2) ? 2 : 0;
}

std::string limittext(const std::string& s, int limit) {
    if (limit <= 0) return s;
    size_t i = 0;
    for (int count = 0; i < s.size() && count < limit; ++count) {
        ++i;
        // Continuation bytes belong to the character just begun.
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    }
    return s.substr(0, i);
}

}  // namespace shell
