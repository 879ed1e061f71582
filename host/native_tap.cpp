#include "host/native_tap.h"

namespace session_record {

bool g_active = false;
uint64_t g_nativeInFlight = 0;
NativeListener g_onNative = nullptr;
WaitListener g_onWait = nullptr;

}  // namespace session_record
