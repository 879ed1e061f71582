// The script's own fiber: the host resumes it, and the script yields back from scriptWait.
// A fiber that is still suspended when dropped is abandoned as the real hook abandons one
// (its stack is kept, never unwound).
#pragma once

#include <cstddef>
#include <memory>

class ScriptFiber {
  public:
    using Entry = void (*)();

    ScriptFiber(Entry entry, size_t stackBytes);
    ~ScriptFiber();
    ScriptFiber(const ScriptFiber&) = delete;
    ScriptFiber& operator=(const ScriptFiber&) = delete;

    // From the host: runs the script until it yields or its entry returns.
    void Resume();
    // From the script: hands control back to the host.
    void Yield();
    bool Finished() const;
    bool Running() const;  // true while the script (not the host) has control

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};
