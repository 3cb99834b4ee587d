#include "window/host_style.h"

using namespace hoststyle;

bool IsTrueFullScreen(const Options& opt) { return opt.FullScreen.Value && !opt.CustomSize.Value; }

namespace {

uint32_t WindowedStyle(const Options& opt) {
    const uint32_t base = kPopup | kSysMenu;
    if (opt.NoBorder.Value) return base;
    // A sizing frame replaces the thin border; a caption brings its own border.
    if (opt.NoTitle.Value) return base | (opt.AllowResize.Value ? kThickFrame : kBorder);
    return base | kCaption | kMinimizeBox | kMaximizeBox | (opt.AllowResize.Value ? kThickFrame : 0u);
}

}  // namespace

HostStyle ComputeHostStyle(const Options& opt, const OsFlags& os) {
    HostStyle result;
    result.ExStyle = kExAppWindow;
    if (IsTrueFullScreen(opt)) {
        result.Style = kPopup | kSysMenu;
        // Topmost only on Windows Me and the NT 5 family (2000, XP), where the taskbar would
        // otherwise stay above a screen-sized window; 95, 98 and later systems do without it.
        if (os.WindowsMe || os.NT5) result.ExStyle |= kExTopmost;
    } else {
        result.Style = WindowedStyle(opt);
        if (opt.AlwaysOnTop.Value || opt.FullScreen.Value) result.ExStyle |= kExTopmost;
    }
    // The projector window covers the client area; never paint over it. The host starts hidden.
    result.Style |= kClipChildren;
    return result;
}
