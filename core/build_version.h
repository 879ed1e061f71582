#pragma once

// The version and the source this build came from, as the log's version line and the DLL's
// version resource name them: "0.1.0 (a31eb1e)", "0.1.0 (a31eb1e, with uncommitted changes)"
// or "0.1.0 (not from a git checkout)". Taken from git on every build.
const char* TarrowindVersion();
