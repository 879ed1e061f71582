// A full disk for one test: no regular file of this process may grow past a size, as when the
// log folder's disk fills up. Writes past it fail (the signal that would end the process is
// ignored meanwhile); the limit and the signal's action are restored when this goes.
#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <cstddef>

class FileSizeLimit {
  public:
    explicit FileSizeLimit(size_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGXFSZ, &ignore, &previousAction_);
        rlimit limit = previous_;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { Lift(); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // Space again: the files may grow as before.
    void Lift() {
        if (lifted_) {
            return;
        }
        setrlimit(RLIMIT_FSIZE, &previous_);
        sigaction(SIGXFSZ, &previousAction_, nullptr);
        lifted_ = true;
    }

  private:
    rlimit previous_{};
    struct sigaction previousAction_ {};
    bool lifted_ = false;
};
