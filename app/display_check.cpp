#include "app/display_check.h"

#include <cstdlib>

#if KELVARO_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace kelvaro {
namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

bool CanReachADisplay() {
#if defined(__linux__) || defined(__unix__)
  if (IsSet("QT_QPA_PLATFORM") || IsSet("WAYLAND_DISPLAY")) {
    return true;
  }
  if (!IsSet("DISPLAY")) {
    return false;
  }
#if KELVARO_HAVE_XCB
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool reachable = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return reachable;
#else
  return true;
#endif
#else
  return true;
#endif
}

}  // namespace kelvaro
