#include "gui/CompositorFrames.h"

#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>

#include <QGuiApplication>
#include <cstring>

namespace vendra {
namespace {

// The global that offers frames drawn by the compositor.
constexpr const char* kDecorationManager = "zxdg_decoration_manager_v1";

void NoteGlobal(void* offered, wl_registry* /*registry*/, uint32_t /*name*/, const char* interface,
                uint32_t /*version*/) {
    if (std::strcmp(interface, kDecorationManager) == 0) *static_cast<bool*>(offered) = true;
}

void IgnoreRemoval(void* /*offered*/, wl_registry* /*registry*/, uint32_t /*name*/) {}

// Lists the compositor's globals once, on a queue of our own, so that none of the events Qt
// waits for on its connection is dispatched here.
bool DecorationManagerOffered(wl_display* display) {
    wl_event_queue* queue = wl_display_create_queue(display);
    auto* ours = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(ours), queue);
    wl_registry* registry = wl_display_get_registry(ours);
    static const wl_registry_listener listener{NoteGlobal, IgnoreRemoval};
    bool offered = false;
    wl_registry_add_listener(registry, &listener, &offered);
    const bool answered = wl_display_roundtrip_queue(display, queue) >= 0;
    wl_registry_destroy(registry);
    wl_proxy_wrapper_destroy(ours);
    wl_event_queue_destroy(queue);
    return answered && offered;
}

}  // namespace

bool CompositorDrawsFrames() {
    static const bool draws = [] {
        if (!QGuiApplication::platformName().startsWith("wayland")) return false;
        QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
        auto* display =
            native ? static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"))
                   : nullptr;
        return display && DecorationManagerOffered(display);
    }();
    return draws;
}

}  // namespace vendra
