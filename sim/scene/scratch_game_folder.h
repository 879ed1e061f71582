// A game folder of its own for a plug-in run whose log nobody keeps (the replays the scene
// maker and the world comparison make): entered on construction, left and removed after.
#pragma once

#include <filesystem>

class ScratchGameFolder {
  public:
    ScratchGameFolder();
    ~ScratchGameFolder();
    ScratchGameFolder(const ScratchGameFolder&) = delete;
    ScratchGameFolder& operator=(const ScratchGameFolder&) = delete;
    // False when no folder could be made or entered: the run then writes where it stands.
    bool Entered() const { return entered_; }

  private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
    bool entered_ = false;
};
