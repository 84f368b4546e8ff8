#pragma once

namespace qinglan::platform {

// Whether an X server answers at the DISPLAY of this process's environment. Connects and
// disconnects at once; a missing or unreachable display gives false rather than ending the
// process, as the toolkit does when it cannot connect.
bool xServerReachable();

// Whether a Wayland compositor answers at WAYLAND_DISPLAY (a name in XDG_RUNTIME_DIR or an
// absolute path).
bool waylandCompositorReachable();

} // namespace qinglan::platform
