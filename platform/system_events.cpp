#include "platform/system_events.h"

#include <gio/gio.h>

#include <utility>

namespace vesk {

struct SystemEvents::Watch {
  std::function<void()> resumed;
  std::function<void()> networkChanged;
  GCancellable* cancellable = g_cancellable_new();
  GDBusConnection* bus = nullptr;
  guint subscription = 0;
  GNetworkMonitor* monitor = nullptr;
  gulong networkHandler = 0;
  bool reaching = true;   // the bus is still being reached
  bool orphaned = false;  // the events are gone: BusReady frees the watch

  static void BusReady(GObject*, GAsyncResult* result, gpointer data) {
    auto* watch = static_cast<Watch*>(data);
    watch->reaching = false;
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_finish(result, &error);
    g_clear_error(&error);
    if (watch->orphaned) {
      if (bus != nullptr) g_object_unref(bus);
      delete watch;
      return;
    }
    if (bus == nullptr) return;  // no system bus
    watch->bus = bus;
    watch->subscription = g_dbus_connection_signal_subscribe(
        bus, "org.freedesktop.login1", "org.freedesktop.login1.Manager", "PrepareForSleep", "/org/freedesktop/login1",
        nullptr, G_DBUS_SIGNAL_FLAGS_NONE, SleepChanged, watch, nullptr);
  }

  static void SleepChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                           GVariant* parameters, gpointer data) {
    gboolean sleeping = TRUE;
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(b)"))) return;
    g_variant_get(parameters, "(b)", &sleeping);
    auto* watch = static_cast<Watch*>(data);
    if (!sleeping && watch->resumed) watch->resumed();
  }

  static void NetworkChanged(GNetworkMonitor*, gboolean, gpointer data) {
    auto* watch = static_cast<Watch*>(data);
    if (watch->networkChanged) watch->networkChanged();
  }
};

SystemEvents::SystemEvents(std::function<void()> resumed, std::function<void()> networkChanged)
    : watch_(new Watch{std::move(resumed), std::move(networkChanged)}) {
  g_bus_get(G_BUS_TYPE_SYSTEM, watch_->cancellable, Watch::BusReady, watch_);
  watch_->monitor = g_network_monitor_get_default();
  if (watch_->monitor != nullptr) {
    watch_->networkHandler =
        g_signal_connect(watch_->monitor, "network-changed", G_CALLBACK(Watch::NetworkChanged), watch_);
  }
}

// A bus still being reached is cancelled; its callback, which always comes,
// then frees the watch.
SystemEvents::~SystemEvents() {
  if (watch_->networkHandler != 0) g_signal_handler_disconnect(watch_->monitor, watch_->networkHandler);
  if (watch_->bus != nullptr) {
    g_dbus_connection_signal_unsubscribe(watch_->bus, watch_->subscription);
    g_object_unref(watch_->bus);
  }
  g_cancellable_cancel(watch_->cancellable);
  g_object_unref(watch_->cancellable);
  if (watch_->reaching) {
    watch_->orphaned = true;
    return;
  }
  delete watch_;
}

}  // namespace vesk
