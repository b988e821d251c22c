// Desktop entries through GLib's key files and GIO's application registry.
#include "platform/linux/desktop_entry.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <filesystem>
#include <optional>

#include "platform/linux/glib_error.h"

namespace vdl::linux_platform {
namespace {

// One Exec argument for `text`: quoted, with the characters that are special
// inside quotes escaped, and "%" doubled so that no field code is read into
// it. None for text with a line break.
std::optional<std::string> execArgument(const std::string& text) {
  if (text.find_first_of("\n\r") != std::string::npos) return std::nullopt;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

Expected<std::string> registerSchemeHandler(const SchemeHandler& h) {
  auto argument = execArgument(h.program);
  if (!argument) {
    return Error{"a desktop entry can't run a program whose path holds a line break",
                 ErrorKind::invalidArgument};
  }
  std::filesystem::path dir = std::filesystem::path(g_get_user_data_dir()) / "applications";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const std::string file = (dir / h.id).string();
  const std::string type = "x-scheme-handler/" + h.scheme;

  // The key file escapes what the entry format itself needs escaped.
  GKeyFile* entry = g_key_file_new();
  const char* group = G_KEY_FILE_DESKTOP_GROUP;
  g_key_file_set_string(entry, group, G_KEY_FILE_DESKTOP_KEY_TYPE, "Application");
  g_key_file_set_string(entry, group, G_KEY_FILE_DESKTOP_KEY_NAME, h.name.c_str());
  g_key_file_set_string(entry, group, G_KEY_FILE_DESKTOP_KEY_COMMENT, h.comment.c_str());
  g_key_file_set_string(entry, group, G_KEY_FILE_DESKTOP_KEY_EXEC, (*argument + " %u").c_str());
  g_key_file_set_string(entry, group, G_KEY_FILE_DESKTOP_KEY_MIME_TYPE, (type + ";").c_str());
  g_key_file_set_boolean(entry, group, G_KEY_FILE_DESKTOP_KEY_NO_DISPLAY, TRUE);
  GError* error = nullptr;
  bool saved = g_key_file_save_to_file(entry, file.c_str(), &error);
  g_key_file_free(entry);
  if (!saved) return Error{"can't write " + file + ": " + takeMessage(error, "")};

  GDesktopAppInfo* info = g_desktop_app_info_new_from_filename(file.c_str());
  if (info == nullptr) {
    // GIO checks the program before it expands "%%", so it refuses any path
    // that holds a "%", however well quoted.
    std::filesystem::remove(file, ec);
    std::string why = h.program.find('%') != std::string::npos
                          ? "GIO can't launch a program whose path holds \"%\""
                          : "GIO rejects the entry";
    return Error{why};
  }
  bool made = g_app_info_set_as_default_for_type(G_APP_INFO(info), type.c_str(), &error);
  g_object_unref(info);
  if (!made) return Error{"can't register " + file + ": " + takeMessage(error, "")};
  return file;
}

}  // namespace vdl::linux_platform
