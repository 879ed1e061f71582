// Something an encounter acts on only the first time it happens.
#pragma once

class Once {
  public:
    // True the first time it is called with `happening` true, false ever after (until
    // Rearm). The caller reads the happening on every call.
    bool FirstTime(bool happening = true) {
        if (!happening || done_) {
            return false;
        }
        done_ = true;
        return true;
    }

    // The same, but `ask` is asked only until the happening has been seen.
    template <typename Ask>
    bool WatchFor(Ask ask) {
        return !done_ && FirstTime(ask());
    }

    bool Done() const { return done_; }
    // The next happening counts as a first time again.
    void Rearm() { done_ = false; }

  private:
    bool done_ = false;
};
