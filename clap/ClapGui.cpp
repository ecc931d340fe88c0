// ClapGui and the gui, posix-fd-support and timer-support tables.
#include "clap/ClapGui.h"

#include <cmath>
#include <cstring>
#include <new>

#include "clap/ClapPlugin.h"
#include "clap/Extensions.h"
#include "editor/FreezeEditor.h"
#include "gui/Port.h"

namespace {

#ifdef _WIN32
constexpr const char* kWindowApi = CLAP_WINDOW_API_WIN32;
#else
constexpr const char* kWindowApi = CLAP_WINDOW_API_X11;
#endif
// About 30 redraws a second, which every host grants.
constexpr uint32_t kIdlePeriodMs = 33;

}  // namespace

ClapGui::ClapGui(ClapPlugin& owner) : plugin(owner), view(new FreezeEditor(owner.neutral(), this)) {
    const clap_host_timer_support_t* timers = plugin.hostTimerSupport();
    if (timers && timers->register_timer)
        timerRunning = timers->register_timer(plugin.host(), kIdlePeriodMs, &timer);
}

ClapGui::~ClapGui() {
    close();
    const clap_host_timer_support_t* timers = plugin.hostTimerSupport();
    if (timerRunning && timers && timers->unregister_timer) timers->unregister_timer(plugin.host(), timer);
}

bool ClapGui::setScale(double scale) {
    if (!std::isfinite(scale) || scale <= 0.0) return false;
    if (!view->setScaleFactor(static_cast<float>(scale))) return false;
    // An open window follows at once, so that get_size answers the new size.
    if (opened) view->idle();
    return true;
}

bool ClapGui::size(uint32_t& width, uint32_t& height) {
    EditorRect* rect = nullptr;
    if (view->getRect(&rect) == 0 || !rect) return false;
    width = static_cast<uint32_t>(rect->right - rect->left);
    height = static_cast<uint32_t>(rect->bottom - rect->top);
    return true;
}

bool ClapGui::attach(void* window) {
    if (!window) return false;
    close();
    parent = window;
    return open();
}

bool ClapGui::open() {
    if (opened) return true;
    if (!parent || view->open(parent) == 0) return false;
    opened = true;
    watchConnection();
    return true;
}

void ClapGui::close() {
    if (!opened) return;
    stopWatching();
    view->close();
    opened = false;
}

bool ClapGui::show() { return open(); }

// The window goes (the host keeps its own); show opens it again where it was.
bool ClapGui::hide() {
    close();
    return true;
}

void ClapGui::idle() {
    if (!opened) return;
    view->idle();
    watchConnection();
}

bool ClapGui::resizeEditor(int32_t width, int32_t height) {
    const clap_host_gui_t* host = plugin.hostGui();
    if (!host || !host->request_resize || width <= 0 || height <= 0) return false;
    return host->request_resize(plugin.host(), static_cast<uint32_t>(width), static_cast<uint32_t>(height));
}

// The toolkit's X connection opens with its first window: from then on the host's loop wakes the
// editor when events arrive.
void ClapGui::watchConnection() {
    const int fd = eventConnectionFd();
    if (fd == watchedFd) return;
    stopWatching();
    const clap_host_posix_fd_support_t* fds = plugin.hostFdSupport();
    if (fd >= 0 && fds && fds->register_fd && fds->register_fd(plugin.host(), fd, CLAP_POSIX_FD_READ))
        watchedFd = fd;
}

void ClapGui::stopWatching() {
    const clap_host_posix_fd_support_t* fds = plugin.hostFdSupport();
    if (watchedFd >= 0 && fds && fds->unregister_fd) fds->unregister_fd(plugin.host(), watchedFd);
    watchedFd = -1;
}

namespace {

ClapGui* guiOf(const clap_plugin_t* plugin) {
    ClapPlugin* self = ClapPlugin::of(plugin);
    return self ? self->gui.get() : nullptr;
}

bool CLAP_ABI isApiSupported(const clap_plugin_t*, const char* api, bool floating) {
    return api && !floating && std::strcmp(api, kWindowApi) == 0;
}

bool CLAP_ABI preferredApi(const clap_plugin_t*, const char** api, bool* floating) {
    if (!api || !floating) return false;
    *api = kWindowApi;
    *floating = false;
    return true;
}

bool CLAP_ABI create(const clap_plugin_t* plugin, const char* api, bool floating) {
    ClapPlugin* self = ClapPlugin::of(plugin);
    if (!self || self->gui || !isApiSupported(plugin, api, floating)) return false;
    try {
        self->gui.reset(new ClapGui(*self));
    } catch (...) {
        return false;
    }
    return true;
}

void CLAP_ABI destroy(const clap_plugin_t* plugin) {
    if (ClapPlugin* self = ClapPlugin::of(plugin)) self->gui.reset();
}

bool CLAP_ABI setScale(const clap_plugin_t* plugin, double scale) {
    ClapGui* gui = guiOf(plugin);
    return gui && gui->setScale(scale);
}

bool CLAP_ABI getSize(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height) {
    ClapGui* gui = guiOf(plugin);
    return gui && width && height && gui->size(*width, *height);
}

bool CLAP_ABI canResize(const clap_plugin_t*) { return false; }

bool CLAP_ABI resizeHints(const clap_plugin_t*, clap_gui_resize_hints_t*) { return false; }

// A fixed size: any proposal becomes the editor's own.
bool CLAP_ABI adjustSize(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height) {
    return getSize(plugin, width, height);
}

bool CLAP_ABI setSize(const clap_plugin_t* plugin, uint32_t width, uint32_t height) {
    uint32_t w = 0, h = 0;
    return getSize(plugin, &w, &h) && w == width && h == height;
}

bool CLAP_ABI setParent(const clap_plugin_t* plugin, const clap_window_t* window) {
    ClapGui* gui = guiOf(plugin);
    if (!gui || !window || !window->api || std::strcmp(window->api, kWindowApi) != 0) return false;
#ifdef _WIN32
    return gui->attach(window->win32);
#else
    return gui->attach(reinterpret_cast<void*>(static_cast<uintptr_t>(window->x11)));
#endif
}

bool CLAP_ABI setTransient(const clap_plugin_t*, const clap_window_t*) { return false; }

void CLAP_ABI suggestTitle(const clap_plugin_t*, const char*) {}

bool CLAP_ABI show(const clap_plugin_t* plugin) {
    ClapGui* gui = guiOf(plugin);
    return gui && gui->show();
}

bool CLAP_ABI hide(const clap_plugin_t* plugin) {
    ClapGui* gui = guiOf(plugin);
    return gui && gui->hide();
}

void CLAP_ABI onFd(const clap_plugin_t* plugin, int, uint32_t) {
    if (ClapGui* gui = guiOf(plugin)) gui->idle();
}

void CLAP_ABI onTimer(const clap_plugin_t* plugin, clap_id) {
    if (ClapGui* gui = guiOf(plugin)) gui->idle();
}

}  // namespace

const clap_plugin_gui_t kClapGui = {isApiSupported, preferredApi, create,    destroy,      setScale,
                                    getSize,        canResize,    resizeHints, adjustSize, setSize,
                                    setParent,      setTransient, suggestTitle, show,      hide};
const clap_plugin_posix_fd_support_t kClapFdSupport = {onFd};
const clap_plugin_timer_support_t kClapTimerSupport = {onTimer};
