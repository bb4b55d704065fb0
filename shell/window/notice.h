// A model's "changed" notice. The views that show a model subscribe to it,
// and the model (or the editor that changes it) announces every change once,
// after it is made, with a description of what changed. Each view then shows
// its part of the model again, whoever made the change: an edit, a drag, an
// undo or a file read. Nobody has to remember which views to redraw.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace shell {

template <class Change>
class Notice {
  public:
    // A view that follows the model.
    class Client {
      public:
        virtual void modelchanged(const Change& change) = 0;

      protected:
        ~Client() = default;
    };

    // A client made of a function, for a view that is not a class of its own
    // (a side window, a timer) and only needs telling.
    class Hook final : public Client {
      public:
        explicit Hook(std::function<void(const Change&)> f) : f_(std::move(f)) {}
        void modelchanged(const Change& change) override { f_(change); }

      private:
        std::function<void(const Change&)> f_;
    };

    Notice() = default;
    // A copy of a model is not watched by the views of the original.
    Notice(const Notice&) = delete;
    Notice& operator=(const Notice&) = delete;

    // Clients hear of a change in the order they subscribed: a view that
    // relies on another having drawn first subscribes after it. Subscribing
    // twice changes nothing.
    void subscribe(Client& c) {
        if (!subscribed(c)) clients_.push_back(&c);
    }
    // A client that leaves while a change is being announced hears no more
    // of it; its place is only removed once the announcement is over.
    void unsubscribe(Client& c) {
        std::replace(clients_.begin(), clients_.end(), &c, static_cast<Client*>(nullptr));
        if (depth_ == 0) compact();
    }
    bool subscribed(const Client& c) const {
        return std::find(clients_.begin(), clients_.end(), &c) != clients_.end();
    }

    void notify(const Change& change) {
        ++depth_;
        // By index, since a client may subscribe another while it listens.
        for (size_t i = 0; i < clients_.size(); ++i)
            if (Client* c = clients_[i]) c->modelchanged(change);
        if (--depth_ == 0) compact();
    }

  private:
    void compact() {
        clients_.erase(std::remove(clients_.begin(), clients_.end(), nullptr), clients_.end());
    }

    std::vector<Client*> clients_;
    int depth_ = 0;  // announcements under way (a client may cause another)
};

}  // namespace shell
