// The headless host's clock, its timers and its side windows.
#include "host.h"

namespace shell::headless {

namespace {

// A side window in memory: tests read its pictures, which present keeps
// up to date.
class Side : public SideWindow {
  public:
    Side(int id, const std::string& title, const SideSize& size, int scale,
         std::vector<std::string>& log)
        : SideWindow(id, title, size.width, size.height, scale, size.pointer), log_(log) {
        log_.push_back("open " + std::to_string(id));
    }
    ~Side() override { log_.push_back("close " + std::to_string(id())); }
    void onscreenchanged(const Rect&) override {}

  private:
    std::vector<std::string>& log_;
};

}  // namespace

void Host::armtimer(int id, int milliseconds) {
    due_[id] = now_ + milliseconds;
}

void Host::advance(long long ms) {
    const long long end = now_ + ms;
    while (!ended()) {
        // The earliest timer due by the end; the map's order breaks ties by id.
        auto next = due_.end();
        for (auto it = due_.begin(); it != due_.end(); ++it)
            if (it->second <= end && (next == due_.end() || it->second < next->second)) next = it;
        if (next == due_.end()) break;
        const int id = next->first;
        now_ = next->second;
        next->second += timers().at(id);
        timerdue(id);
        pump();
    }
    now_ = end;
}

std::unique_ptr<SideWindow> Host::makesidewindow(int id, const std::string& title,
                                                 const SideSize& size) {
    sidesizes[id] = size;
    return std::make_unique<Side>(id, title, size, scale(), sidelog);
}

}  // namespace shell::headless
