#include "platform/desktop_associations.h"

#include <gio/gio.h>

#include <memory>

namespace vesk {

std::string DefaultCommand(const std::string& mimeType) {
  std::unique_ptr<GAppInfo, decltype(&g_object_unref)> application(
      g_app_info_get_default_for_type(mimeType.c_str(), FALSE), &g_object_unref);
  if (!application) return "";
  const char* command = g_app_info_get_commandline(application.get());
  return command != nullptr ? command : "";
}

std::string MimeTypeOfName(const std::string& fileName) {
  gboolean uncertain = FALSE;
  std::unique_ptr<gchar, decltype(&g_free)> contentType(g_content_type_guess(fileName.c_str(), nullptr, 0, &uncertain),
                                                        &g_free);
  if (!contentType || uncertain) return "";
  std::unique_ptr<gchar, decltype(&g_free)> mimeType(g_content_type_get_mime_type(contentType.get()), &g_free);
  return mimeType ? mimeType.get() : "";
}

}  // namespace vesk
